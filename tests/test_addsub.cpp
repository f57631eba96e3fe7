// Exact long addition and subtraction against an independent reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/addsub.h"
#include "engine/errors.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/restrictionator.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;

namespace {

using decimora::testing::DefaultLocale;

using AdditionTest = DefaultLocale;

// An independent long addition on base 10^18 chunks.
std::string ReferenceAdd(const std::string& a, const std::string& b) {
  std::vector<unsigned long long> x;
  std::vector<unsigned long long> y;
  auto chunks = [](const std::string& s, std::vector<unsigned long long>& out) {
    for (std::size_t end = s.size(); end > 0; end = end > 18 ? end - 18 : 0) {
      const std::size_t begin = end > 18 ? end - 18 : 0;
      out.push_back(std::stoull(s.substr(begin, end - begin)));
    }
  };
  chunks(a, x);
  chunks(b, y);
  const unsigned long long base = 1000000000000000000ULL;
  std::vector<unsigned long long> sum;
  unsigned long long carry = 0;
  for (std::size_t i = 0; i < std::max(x.size(), y.size()) || carry; ++i) {
    unsigned long long s = carry + (i < x.size() ? x[i] : 0) + (i < y.size() ? y[i] : 0);
    carry = s >= base;
    sum.push_back(s - (carry ? base : 0));
  }
  std::string out = std::to_string(sum.back());
  for (std::size_t i = sum.size() - 1; i-- > 0;) {
    std::string part = std::to_string(sum[i]);
    out += std::string(18 - part.size(), '0') + part;
  }
  return out;
}

TEST_F(AdditionTest, TwentyThousandDigitSumsAreExact) {
  std::mt19937_64 rng(20000);
  auto randomDigits = [&](std::size_t n) {
    std::string s(n, '0');
    for (char& c : s) c = static_cast<char>('0' + rng() % 10);
    s[0] = static_cast<char>('1' + rng() % 9);
    return s;
  };
  for (int round = 0; round < 3; ++round) {
    const std::string a = randomDigits(20000);
    const std::string b = randomDigits(20000 - round * 7);
    const std::string want = ReferenceAdd(a, b);
    EXPECT_EQ(AddDigitStrings(a, b), want);
    // Through the dispatcher, with every digit kept.
    EXPECT_EQ(frame::CalculateText(kAdd, a, b, frame::kMaxSignificantDigits), want);
    // And back again.
    type_Subtraction d = SubtractDigitStrings(want, a, false);
    EXPECT_EQ(d.Difference, b);
    EXPECT_FALSE(d.NegativeSubtraction);
    EXPECT_TRUE(SubtractDigitStrings(a, want, true).NegativeSubtraction);
  }
  EXPECT_EQ(AddDigitStrings(std::string(20000, '9'), "1"), "1" + std::string(20000, '0'));
  EXPECT_EQ(SubtractDigitStrings("1" + std::string(20000, '0'), "1", false).Difference, std::string(20000, '9'));
}

TEST_F(AdditionTest, CarryAndBorrowChainsAcrossBlocks) {
  // Lengths around the 8-digit blocks, digits biased to 0 and 9 so carries
  // and borrows run through whole blocks.
  std::mt19937 rng(8);
  auto digits = [&](std::size_t n) {
    std::string s(n, '0');
    for (char& c : s) {
      const unsigned r = rng() % 4;
      c = r == 0 ? '0' : (r == 1 ? static_cast<char>('0' + rng() % 10) : '9');
    }
    if (n > 0 && s[0] == '0') s[0] = '1';
    return s;
  };
  for (int i = 0; i < 3000; ++i) {
    const std::string a = digits(1 + rng() % 40);
    const std::string b = digits(1 + rng() % 40);
    const std::string sum = ReferenceAdd(a, b);
    ASSERT_EQ(AddDigitStrings(a, b), sum) << a << " + " << b;
    ASSERT_EQ(SubtractDigitStrings(sum, b, false).Difference, a) << sum << " - " << b;
    ASSERT_EQ(SubtractDigitStrings(b, sum, true).Difference, "-" + a) << b << " - " << sum;
  }
  EXPECT_THROW(AddDigitStrings("12a4", "1"), ConversionFailure);
  EXPECT_THROW(SubtractDigitStrings("1234", "1/", false), ConversionFailure);
}

}  // namespace
