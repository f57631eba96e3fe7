// The Poisson sum against a slow, literal transcription: every term its own
// power, product, factorial and quotient through the text dispatcher, the
// terms added in order. The fast path (the factorial continued from the
// previous term, the exact power while it fits) must give the same digits.
#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <random>
#include <string>

#include "frame/calculate.h"
#include "functions/poisson.h"
#include "functions/remainder.h"
#include "test_locale.h"

namespace decimora::functions {
namespace {

using decimora::testing::DefaultLocale;

const Value kNone;

std::string Calc(std::int16_t code, const std::string& a, const std::string& b, double maxSD, bool restrict) {
  return frame::Calculate(code, Value::Text(a), Value::Text(b), kNone, kNone, kNone, kNone, Value::Number(maxSD), true,
                          restrict);
}

// sum := 0; for i = 0..k: sum := sum + E * lambda^i / i!, each operation a
// dispatcher call at maxSD, i! the factorial at maxSD.
std::string LiteralCumulative(int k, const std::string& lambda, const std::string& E, double maxSD, bool restrict) {
  std::string sum = "0";
  for (int i = 0; i <= k; ++i) {
    const std::string a = Calc(6, lambda, std::to_string(i), maxSD, restrict);
    const std::string b = Calc(3, E, a, maxSD, restrict);
    const std::string f = Fact_Function(Value::Number(i), kNone, kNone, kNone, kNone, Value::Number(maxSD));
    sum = Calc(1, sum, Calc(4, b, f, maxSD, restrict), maxSD, restrict);
  }
  return sum;
}

class Poisson : public DefaultLocale {};

TEST_F(Poisson, FastSumMatchesTheLiteralTerms) {
  std::mt19937_64 rng(20261207);
  auto pick = [&](int lo, int hi) { return static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)) + lo; };
  auto digits = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + pick(0, 9));
    return s;
  };
  const std::string lambdas[] = {"0", "1", "2", "3", "10", "0.5", "2.5", "1.1", "12.345", "0.001", "99"};
  for (int round = 0; round < 1200; ++round) {
    std::string lambda;
    switch (pick(0, 2)) {
      case 0: lambda = lambdas[pick(0, 10)]; break;
      case 1: lambda = std::to_string(pick(0, 60)) + "." + digits(pick(1, 12)) + "7"; break;
      default: lambda = std::to_string(pick(1, 400)); break;
    }
    // E need not be e^(-lambda) here: any factor exercises the same steps.
    const std::string E = pick(0, 5) == 0 ? "#VALUE!" : "0." + digits(pick(0, 3)) + "3" + digits(pick(0, 40));
    const int k = pick(0, 24);
    const double maxSD = pick(0, 8) == 0 ? pick(0, 3) : pick(4, 60);
    const bool restrict = pick(0, 1) == 1;
    ASSERT_EQ(Poisson_CumulativeSum(std::to_string(k), lambda, E, maxSD, restrict),
              LiteralCumulative(k, lambda, E, maxSD, restrict))
        << "k " << k << " lambda " << lambda << " E " << E << " maxSD " << maxSD;
  }
}

TEST_F(Poisson, SumMatchesTheLiteralTermsWithTheStoredE) {
  for (const char* lambda : {"0", "1", "3", "7", "25", "2.5", "0.75"}) {
    for (double maxSD : {5.0, 30.0, 100.0}) {
      const std::string E = Exp_Negative(lambda, maxSD, true);
      ASSERT_EQ(Poisson_Sum("30", lambda, true, maxSD, true), LiteralCumulative(30, lambda, E, maxSD, true));
      ASSERT_EQ(Poisson_Sum("30", lambda, false, maxSD, true),
                Calc(4, Calc(3, E, Calc(6, lambda, "30", maxSD, true), maxSD, true),
                     Fact_Function(Value::Number(30), kNone, kNone, kNone, kNone, Value::Number(maxSD)), maxSD, true));
    }
  }
}

// Where the power and the factorial outgrow the default precision, the
// factorial is taken at the call's maxSD: e^-500 500^500 / 500! holds about
// the call's digits of the true value (500! has 1,135 digits).
TEST_F(Poisson, FactorialAtTheCallsPrecision) {
  const Value result =
      dcmPOISSON(Value::Number(500), Value::Number(500), Value::Bool(false), kNone, Value::Number(1000));
  ASSERT_TRUE(result.isText());
  const std::string ours(result.text());

  mpfr_t x, t;
  mpfr_inits2(8000, x, t, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_si(x, -500, MPFR_RNDN);
  mpfr_exp(x, x, MPFR_RNDN);
  mpfr_ui_pow_ui(t, 500, 500, MPFR_RNDN);
  mpfr_mul(x, x, t, MPFR_RNDN);
  mpfr_fac_ui(t, 500, MPFR_RNDN);
  mpfr_div(x, x, t, MPFR_RNDN);
  mpfr_exp_t exp = 0;
  char* s = mpfr_get_str(nullptr, &exp, 10, 1000, x, MPFR_RNDN);
  const std::string truth(s);
  mpfr_free_str(s);
  mpfr_clears(x, t, static_cast<mpfr_ptr>(nullptr));

  // 0.0178...: leading "0.0", then the significant digits.
  ASSERT_EQ(exp, -1);
  ASSERT_EQ(ours.substr(0, 3), "0.0");
  const std::string mantissa = ours.substr(3);
  ASSERT_GT(mantissa.size(), 990u);
  EXPECT_EQ(mantissa.substr(0, 990), truth.substr(0, 990));
}

// The counter of the cumulative sum is exact: at maxSD 0 an addition keeps
// two digits, so a counter advanced by the dispatcher would stop at 100.
TEST_F(Poisson, CounterReachesEveryCount) {
  ASSERT_EQ(Calc(1, "100", "1", 0, true), "100");
  EXPECT_EQ(Poisson_CumulativeSum("105", "100", "0.5", 0, true), LiteralCumulative(105, "100", "0.5", 0, true));
  EXPECT_NE(Poisson_CumulativeSum("105", "100", "0.5", 0, true), LiteralCumulative(100, "100", "0.5", 0, true));
}

// Counts the factorial refuses make the sum "#NUM!" without running their
// terms, unless E brings the more urgent "#VALUE!".
TEST_F(Poisson, CountsBeyondTheFactorial) {
  EXPECT_EQ(Poisson_CumulativeSum("9274", "3", "0.05", 5, true), "#NUM!");
  EXPECT_EQ(Poisson_CumulativeSum(std::string(30000, '9'), "3", "0.05", 5, true), "#NUM!");
  EXPECT_EQ(Poisson_CumulativeSum("9274", "3", "#VALUE!", 5, true), "#VALUE!");
  EXPECT_EQ(Poisson_CumulativeSum("9274", "abc", "0.05", 5, true), "#VALUE!");
  EXPECT_EQ(Poisson_CumulativeSum("9274", "3", "#DIV/0!", 5, true), "#NUM!");
  EXPECT_EQ(Poisson_Term("10000", "3", "0.05", 5, true), "#NUM!");
  EXPECT_EQ(Poisson_Term("10000", "3", "#VALUE!", 5, true), "#VALUE!");
  EXPECT_EQ(Poisson_Term("10000", "3", "#VALUE!", 5, true),
            Calc(4, Calc(3, "#VALUE!", Calc(6, "3", "10000", 5, true), 5, true), "#NUM!", 5, true));
}

}  // namespace
}  // namespace decimora::functions
