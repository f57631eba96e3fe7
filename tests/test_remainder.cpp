// What the vectors cannot reach: factorials of thousands of digits checked
// against an independent product, the factorial's shortcut against the
// literal sequence of dispatcher calls it stands for, and remainders of long
// numbers against exact integer division.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "api/cls_decimora.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/restrictionator.h"
#include "functions/remainder.h"
#include "functions/rounding.h"

namespace decimora {
namespace {

using functions::Fact_Function;
using functions::FactDouble_Function;

const Value kNone;
const Value kFullPrecision = Value::Number(32767);

// k0 * (k0 - step) * ... down to 1, by schoolbook multiplication in base 10^9:
// no code shared with the library.
std::string IndependentProduct(std::uint32_t k0, std::uint32_t step) {
  std::vector<std::uint64_t> limbs{1};  // little-endian, base 10^9
  for (std::int64_t k = k0; k >= 1; k -= step) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
      const std::uint64_t v = limb * static_cast<std::uint64_t>(k) + carry;
      limb = v % 1000000000;
      carry = v / 1000000000;
    }
    while (carry > 0) {
      limbs.push_back(carry % 1000000000);
      carry /= 1000000000;
    }
  }
  std::string out = std::to_string(limbs.back());
  for (std::size_t i = limbs.size() - 1; i-- > 0;) {
    const std::string part = std::to_string(limbs[i]);
    out += std::string(9 - part.size(), '0') + part;
  }
  return out;
}

TEST(Factorial, EveryDigitAtFullPrecision) {
  cls_Decimora dcm;
  const Value fact1000 = dcm.dcmFACT(Value::Text("1000"), kNone, kNone, kNone, kNone, kFullPrecision);
  ASSERT_TRUE(fact1000.isText());
  EXPECT_EQ(fact1000.text().size(), 2568u);
  EXPECT_EQ(fact1000.text(), IndependentProduct(1000, 1));

  // The largest arguments: 32,764 and 32,765 digits, still one cell each.
  const std::string fact9273 = Fact_Function(Value::Text("9273"), kNone, kNone, kNone, kNone, kFullPrecision);
  EXPECT_EQ(fact9273.size(), 32764u);
  EXPECT_EQ(fact9273, IndependentProduct(9273, 1));
  const std::string double17234 = FactDouble_Function(Value::Text("17234"), kNone, kNone, kNone, kNone, kFullPrecision);
  EXPECT_EQ(double17234.size(), 32765u);
  EXPECT_EQ(double17234, IndependentProduct(17234, 2));
}

// product := product * k through the dispatcher at maxSD for every factor,
// then the composition at maxSD: the definition the factorials follow.
std::string LiteralProduct(std::uint32_t k0, std::uint32_t step, double maxSD) {
  std::string product = "1";
  for (std::int64_t k = k0; k >= 1; k -= step) {
    const std::int64_t factor = step == 1 ? k0 - k + 1 : k;  // the factorial counts up
    product = frame::CalculateText(engine::kMultiply, product, std::to_string(factor), maxSD);
  }
  engine::type_CleanUp c = engine::CleanUp(product, false, false);
  double P = 0;
  const type_Restrictionator options =
      frame::Restrictionator(kNone, kNone, kNone, kNone, Value::Number(maxSD), kNone, kNone);
  return frame::ComposeResult(c.NumClean, P, true, options);
}

TEST(Factorial, RoundedAtEveryStepLikeTheDispatcher) {
  // Bounds below, near and above the length of the product, so that the
  // rounding starts at the first step, midway, or never.
  struct Case {
    std::uint32_t n;
    double maxSD;
  };
  for (const Case c : {Case{25, 100}, Case{100, 100}, Case{300, 20}, Case{1000, 0}, Case{1000, 0.5}, Case{800, 1000},
                       Case{2000, 3000}, Case{170, 305}, Case{170, 304}}) {
    SCOPED_TRACE("n = " + std::to_string(c.n) + ", maxSD = " + std::to_string(c.maxSD));
    const Value n = Value::Text(std::to_string(c.n));
    EXPECT_EQ(Fact_Function(n, kNone, kNone, kNone, kNone, Value::Number(c.maxSD)), LiteralProduct(c.n, 1, c.maxSD));
    EXPECT_EQ(FactDouble_Function(n, kNone, kNone, kNone, kNone, Value::Number(c.maxSD)),
              LiteralProduct(c.n, 2, c.maxSD));
  }
}

std::string RandomDigits(std::size_t n, std::mt19937_64& rng) {
  std::string s(n, '0');
  for (char& c : s) c = static_cast<char>('0' + rng() % 10);
  s[0] = static_cast<char>('1' + rng() % 9);
  return s;
}

// The last case is too long for the exact shortcut and goes through the
// dispatcher's division.
TEST(Remainder, LongOperandsMatchExactIntegerDivision) {
  std::mt19937_64 rng(20240607);
  for (const auto& [dividendDigits, divisorDigits] : std::vector<std::pair<std::size_t, std::size_t>>{
           {10000, 30}, {3000, 1500}, {500, 499}, {40, 1}, {30000, 5000}}) {
    const std::string a = RandomDigits(dividendDigits, rng);
    const std::string b = RandomDigits(divisorDigits, rng);
    const engine::Natural A = *engine::Natural::FromDigits(a);
    const engine::Natural B = *engine::Natural::FromDigits(b);
    const std::string r = engine::Divide(A, B).remainder.ToDigits();
    // The floor remainder of -a by b is b - r (r != 0 for these operands).
    const std::string complement = engine::Subtract(B, *engine::Natural::FromDigits(r)).ToDigits();
    SCOPED_TRACE(std::to_string(dividendDigits) + " by " + std::to_string(divisorDigits) + " digits");
    EXPECT_EQ(functions::Mod_Function(a, b, false, 32767), r);
    EXPECT_EQ(functions::Mod_Function("-" + a, b, false, 32767), complement);
    EXPECT_EQ(functions::Mod_Function("-" + a, b, true, 32767), r);  // truncated: -r, shown with b's sign
    // Scaled by the same power of ten, the remainder scales with them.
    EXPECT_EQ(functions::Mod_Function(a + "E-5", b + "E-5", false, 32767),
              engine::TrimFractionZeros(r.size() > 5 ? r.substr(0, r.size() - 5) + "." + r.substr(r.size() - 5)
                                                     : "0." + std::string(5 - r.size(), '0') + r));
  }
}

// The remainder by the dispatcher's route, step by step: the quotient to
// La + Lb + 5 digits, its integer part, the product, the difference.
std::string RouteRemainder(const std::string& a, const std::string& b, bool use_trunc) {
  std::string q = frame::CalculateText(engine::kDivide, a, b, static_cast<double>(a.size() + b.size() + 5));
  q = use_trunc ? functions::Trunc_Function(q) : functions::Int_Function(q);
  const std::string p = frame::CalculateText(engine::kMultiply, b, q, static_cast<double>(b.size() + q.size() + 5));
  engine::type_CleanUp r = engine::CleanUp(frame::CalculateText(engine::kSubtract, a, p, 32767), false, false);
  const type_Restrictionator options = frame::Restrictionator(kNone, kNone, kNone, kNone, kFullPrecision, kNone, kNone);
  return frame::ComposeResult(r.NumClean, r.DecPos, engine::IsNonNegative(b), options);
}

// Signed decimals of the given digit counts with the separator anywhere.
std::string RandomDecimal(std::size_t digits, std::mt19937_64& rng) {
  std::string s = RandomDigits(digits, rng);
  const std::size_t at = rng() % (digits + 1);
  if (at < digits) s.insert(at == 0 ? 0 : at, at == 0 ? "0." : ".");
  return rng() % 2 ? "-" + s : s;
}

TEST(Remainder, ExactQuotientIsTheDispatchersIntegerPart) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 200; ++i) {
    const std::size_t la = 1 + rng() % (i < 20 ? 3000 : 60);
    const std::size_t lb = 1 + rng() % (i < 20 ? 40 : 60);
    const std::string a = RandomDecimal(la, rng);
    const std::string b = RandomDecimal(lb, rng);
    SCOPED_TRACE(a.substr(0, 60) + " by " + b.substr(0, 60));
    for (const bool use_trunc : {false, true}) {
      EXPECT_EQ(functions::Mod_Function(a, b, use_trunc, 32767), RouteRemainder(a, b, use_trunc));
    }
  }
}

}  // namespace
}  // namespace decimora
