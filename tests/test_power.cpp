// Powers: the splitting against a literal transcription whose exponent
// arithmetic goes through the dispatcher at the working precision (the order
// of the products decides the guard digits, so the two must agree digit for
// digit), and the guards that keep huge exponents cheap and sound.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/power.h"
#include "platform/locale.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;
using decimora::frame::CalculateText;

namespace {

using PowerTest = decimora::testing::DefaultLocale;

std::string Power(std::string_view b, std::string_view e, double M) {
  const Value none;
  return frame::Calculate(kPower, Value::Text(std::string(b)), Value::Text(std::string(e)), none, none, none, none,
                          Value::Number(M), true, false);
}

// The split search as written: every exponent operation a dispatcher call at
// maxSD M, comparisons on digit strings.
std::string LiteralSplit(const std::string& b, const std::string& e, double M) {
  auto atLeast4 = [](const std::string& x) { return CompareDigitStrings(x, "4", true, true); };
  if (!atLeast4(e)) return Power(b, e, M);
  std::string best = e, g = e, H, Q, R;
  for (;;) {
    const std::string h = IntegerPart(CalculateText(kDivide, g, "2", M));
    const std::string q = IntegerPart(CalculateText(kDivide, e, h, M));
    const std::string r = CalculateText(kSubtract, e, CalculateText(kMultiply, h, q, M), M);
    std::string cost = CalculateText(kAdd, q, CalculateText(kAdd, h, r, M), M);
    if (CompareDigitStrings(h, "0", false, true)) cost = CalculateText(kSubtract, cost, "1", M);
    if (CompareDigitStrings(q, "0", false, true)) cost = CalculateText(kSubtract, cost, "1", M);
    if (!CompareDigitStrings(best, cost, false, true)) break;
    best = cost;
    H = h;
    Q = q;
    R = r;
    g = h;
  }
  std::string P = atLeast4(H) ? LiteralSplit(b, H, M) : Power(b, H, M);
  P = atLeast4(Q) ? LiteralSplit(P, Q, M) : Power(P, Q, M);
  const std::string T = atLeast4(R) ? LiteralSplit(b, R, M) : Power(b, R, M);
  return CalculateText(kMultiply, P, T, M);
}

}  // namespace

TEST_F(PowerTest, SplittingMatchesTheLiteralOrder) {
  std::mt19937_64 rng(5);
  const char* bases[] = {"2", "3", "-3", "1.0001", "0.5", "-1.25", "7.123456789", "0.999", "12345.678", "1.5"};
  for (int i = 0; i < 200; ++i) {
    std::string b = bases[rng() % std::size(bases)];
    if (i % 4 == 0) {  // a long base, either sign
      b = (rng() % 2 ? "-" : "") + std::to_string(1 + rng() % 9) + ".";
      for (int d = 0; d < 30 + static_cast<int>(rng() % 300); ++d) b.push_back(static_cast<char>('0' + rng() % 10));
      b.push_back('7');
    }
    const std::string e = std::to_string(4 + rng() % (i % 5 == 0 ? 5000 : 200));
    // The literal's exponent arithmetic is exact (as ours) while the
    // exponent has at most M - 2 digits; below that it rounds quotients.
    const double M = i % 7 == 0 ? 500 + static_cast<double>(rng() % 1500)
                                : static_cast<double>(e.size() + 2 + rng() % 40) + (i % 9 == 0 ? 0.5 : 0);
    EXPECT_EQ(frame::PowerBySplitting(b, e, M), LiteralSplit(b, e, M)) << b << "^" << e << " M=" << M;
  }
  // Rounding that carries through whole limbs (runs of nines), cuts on and
  // next to limb boundaries, and splits ending in b^0 or b^1 (e = 8, 10, 25,
  // 1000): the places where products by one and the first product of a
  // small power take a shortcut.
  for (const char* b : {"9.99999999999999999", "0.999999999999999999", "-99999999.9", "1.000000005", "2.5"}) {
    for (const char* e : {"4", "8", "10", "25", "1000"}) {
      for (double M : {7.0, 8.0, 9.0, 16.0, 17.0, 25.0, 27.5}) {
        EXPECT_EQ(frame::PowerBySplitting(b, e, M), LiteralSplit(b, e, M)) << b << "^" << e << " M=" << M;
      }
    }
  }
  // Near the cell's limits: a result that overflows, one cut to a cell's
  // length, and one that vanishes.
  for (const auto& [b, e] : {std::pair{"10", "32766"}, std::pair{"10", "32768"}, std::pair{"-10", "32767"},
                             std::pair{"0.1", "32760"}, std::pair{"0.1", "40000"}, std::pair{"0.5", "108000"},
                             std::pair{"-0.3", "99999"}}) {
    EXPECT_EQ(frame::PowerBySplitting(b, e, 30), LiteralSplit(b, e, 30)) << b << "^" << e;
  }
  // The worked split: 2^10 = ((2^2)^2 * 2)^2 * 1, exact at any precision.
  EXPECT_EQ(frame::PowerBySplitting("2", "10", 3), "1024");
}

// A base a hair above 1 with a long exponent, whose power fits: every
// product is computed (no work budget gives up on it), and the squarings
// that dominate it agree with the literal order digit for digit.
TEST_F(PowerTest, LongExponentsOfBasesNearOneAreComputed) {
  std::mt19937_64 rng(9);
  for (int i = 0; i < 2; ++i) {
    std::string e = std::to_string(1 + rng() % 9);
    while (e.size() < 30) e.push_back(static_cast<char>('0' + rng() % 10));
    const std::string b = "1." + std::string(29, '0') + "1";
    const double M = 300;
    const std::string got = frame::PowerBySplitting(b, e, M);
    EXPECT_EQ(got.find('#'), std::string::npos) << got;
    EXPECT_EQ(got, LiteralSplit(b, e, M)) << e;
  }
}

// At a small precision the dispatcher would round a long exponent and leave
// a negative remainder; exact exponent arithmetic keeps the power whole.
TEST_F(PowerTest, LongExponentAtLowPrecision) {
  const std::string r = Power("1.5", "12345", 2);
  ASSERT_EQ(r.find('#'), std::string::npos) << r;
  // 1.5^12345 has 2174 integer digits; three-digit products drift a little.
  const std::size_t digits = IntegerPart(r).size();
  EXPECT_GT(digits, 2174u - 40);
  EXPECT_LT(digits, 2174u + 40);
}

// Answered from bounds, not by building the value (a run-away here shows as
// a test that does not end; speed itself is the benchmarks' business).
TEST_F(PowerTest, HugeExponentsAnswerWithoutBuildingTheValue) {
  EXPECT_EQ(Power("10", "1000000000", 101), "#NUM!");
  EXPECT_EQ(Power("-1.5", "1" + std::string(5000, '0'), 101), "#NUM!");
  EXPECT_EQ(Power("0.5", "1" + std::string(16000, '0'), 101), "0");
  EXPECT_EQ(Power("0.9999", "1" + std::string(16000, '0'), 1001), "0");
  // Just above the underflow bound the value is still computed (0.5^108000
  // is about 10^-32512).
  const std::string tiny = Power("0.5", "108000", 101);
  EXPECT_EQ(tiny.substr(0, 2), "0.");
  EXPECT_NE(tiny.find_first_not_of("0.", 2), std::string::npos);
  EXPECT_EQ(Power("-1", "1" + std::string(5000, '0') + "1", 101), "-1");
  // A base this close to 1 rounds to 1 after its first products at this
  // precision (22 digits), and stays 1.
  EXPECT_EQ(Power("1.0000000000000000000000000000000000000001", "1" + std::string(3000, '0'), 21), "1");
}
