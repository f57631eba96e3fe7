// RoundToSignificant: half up, length kept.
#include <gtest/gtest.h>

#include <string>

#include "engine/round.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;

namespace {

using decimora::testing::DefaultLocale;

using PrimitiveTest = DefaultLocale;

TEST_F(PrimitiveTest, RoundToSignificant) {
  struct {
    const char* q;
    double m;
    const char* want;
  } cases[] = {
      {"12345", 3, "12300"}, {"12345", 5, "12345"}, {"12355", 3, "12400"}, {"12350", 3, "12400"},
      {"999", 2, "1000"},    {"95", 1, "100"},      {"123.45", 4, "123.50"}, {"129.96", 4, "130.00"},
      {"123.56", 3, "124"},  {"12345.678", 3, "12300"}, {"0.5", 2, "0.5"}, {"0.125", 2, "0.130"},
      {"0.0999", 2, "0.1000"}, {"3.14159", 3, "3.14000"}, {"0.0012345", 2, "0.0012000"},
      {"9.96", 2, "10.00"},  {"9996", 3, "10000"},   {"12a45", 4, "#VALUE!"}, {"1234a", 3, "12300"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundToSignificant(c.q, c.m), c.want) << c.q << " m=" << c.m;
  }
}

}  // namespace
