// The dispatcher's comparison: significant digits counted from the first
// nonzero one, however long the numbers.
#include <gtest/gtest.h>

#include <string>

#include "frame/calculate.h"
#include "tests/test_locale.h"

using namespace decimora;

namespace {

using decimora::testing::DefaultLocale;

using CompareTest = DefaultLocale;

// "T", "F" or the error text of CompareNumbers.
std::string Cmp(const std::string& a, const std::string& b, bool or_equal, bool greater) {
  const Value v = frame::CompareNumbers(a, b, or_equal, greater);
  return v.isBool() ? std::string(v.boolean() ? "T" : "F") : std::string(v.text());
}

TEST_F(CompareTest, SignificantDigitsCountFromTheFirstNonzeroDigit) {
  EXPECT_EQ(Cmp("1E-40000", "0", false, true), "T");
  EXPECT_EQ(Cmp("0", "1E-40000", false, true), "F");
  EXPECT_EQ(Cmp("1E-40000", "0", true, false), "F");
  EXPECT_EQ(Cmp("1E-40000", "2E-40000", true, false), "F");
  EXPECT_EQ(Cmp("2E-40000", "1E-40000", false, true), "T");
  EXPECT_EQ(Cmp("-1E-40000", "-2E-40000", false, true), "T");
  // The 32,767th significant digit of a number below 1 still counts.
  const std::string head = "0.00000" + std::string(32766, '1');
  EXPECT_EQ(Cmp(head + "2", head + "1", false, true), "T");
  EXPECT_EQ(Cmp(head + "2", head + "1", true, false), "F");
  // ... and what lies past it does not, however far it stands.
  EXPECT_EQ(Cmp(head + "1" + "4", head + "1", true, false), "T");
  EXPECT_EQ(Cmp("0.00001" + std::string(40000, '0') + "1", "0.00001", true, false), "T");
  // A carry out of the first digit keeps the two lined up: 0.999... with
  // 40,000 nines rounds to 1, above a number that rounds down.
  const std::string nines = "0." + std::string(40000, '9');
  const std::string below = "0." + std::string(32767, '9') + "4" + std::string(1000, '0') + "1";
  EXPECT_EQ(Cmp(nines, below, false, true), "T");
  EXPECT_EQ(Cmp(below, nines, false, true), "F");
}

}  // namespace
