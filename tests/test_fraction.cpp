// What the vectors cannot reach: the greatest common divisor, least common
// multiple and fraction reduction of long and decimal operands, checked
// against a reference built from plain Euclid on exact scaled integers, and
// operands whose scaling runs past a cell.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/natural.h"
#include "functions/fraction.h"
#include "platform/variant.h"
#include "tests/test_locale.h"

namespace decimora {
namespace {

using engine::Natural;

std::mt19937_64 rng(31);

std::string RandomDigits(std::size_t n) {
  std::string s(n, '0');
  for (char& c : s) c = static_cast<char>('0' + rng() % 10);
  s[0] = static_cast<char>('1' + rng() % 9);
  return s;
}

Natural N(const std::string& digits) { return *Natural::FromDigits(digits); }

// ---- reference: exact scaled integers, plain Euclid, text by hand ----------

struct Scaled {
  Natural digits;
  std::size_t fraction;
};

Scaled Read(const std::string& text) {
  const std::size_t at = text.find('.');
  if (at == std::string::npos) return {N(text), 0};
  return {N(text.substr(0, at) + text.substr(at + 1)), text.size() - at - 1};
}

std::string Text(const Natural& n, std::size_t fraction) {
  std::string d = n.ToDigits();
  if (fraction == 0) return d;
  if (d.size() <= fraction) d = std::string(fraction - d.size() + 1, '0') + d;
  d.insert(d.size() - fraction, 1, '.');
  while (d.back() == '0') d.pop_back();
  if (d.back() == '.') d.pop_back();
  return d;
}

// g / 10^s for the pair scaled to integers by 10^s.
std::string RefCommonDivisor(const std::string& a, const std::string& b) {
  const Scaled x = Read(a), y = Read(b);
  const std::size_t s = std::max(x.fraction, y.fraction);
  return Text(engine::gcd_euclid(engine::ShiftDecimalLeft(x.digits, s - x.fraction),
                                 engine::ShiftDecimalLeft(y.digits, s - y.fraction)),
              s);
}

// The factor the pair is reduced by: g / 10^s, or 1 when that is below 1.
std::string RefFactor(const std::string& a, const std::string& b) {
  const std::string g = RefCommonDivisor(a, b);
  return g.starts_with("0.") ? "1" : g;
}

// a / factor * b as the exact product over the exact factor.
std::string RefMultiple(const std::string& a, const std::string& b) {
  const Scaled x = Read(a), y = Read(b), f = Read(RefFactor(a, b));
  // a * b / f = (X Y / 10^(fx + fy)) / (F / 10^ff)
  const Natural num = engine::ShiftDecimalLeft(engine::Multiply(x.digits, y.digits), f.fraction);
  const engine::DivisionResult q = engine::Divide(num, f.digits);
  EXPECT_TRUE(q.remainder.IsZero());
  return Text(q.quotient, x.fraction + y.fraction);
}

std::string RandomDecimal() {
  std::string digits = RandomDigits(1 + rng() % 40);
  const std::size_t fraction = rng() % 3 == 0 ? 0 : rng() % (digits.size() + 3);
  if (fraction == 0) return digits;
  if (digits.back() == '0') digits.back() = '5';  // normal form: no trailing fraction zero
  return Text(N(digits), fraction);
}

std::string List(bool gcd, bool as_given, const std::vector<std::string>& values,
                 const std::string& directive = "format:MSD=32767") {
  std::vector<Value> list;
  for (const std::string& v : values) list.push_back(Value::Text(v));
  list.push_back(Value::Text(directive));
  return gcd ? functions::GCD_Function(list, as_given) : functions::LCM_Function(list, as_given);
}

class Fraction : public testing::DefaultLocale {};

TEST_F(Fraction, DecimalPairsMatchTheExactReference) {
  for (int i = 0; i < 2000; ++i) {
    // A shared factor every other pair, so that reductions happen.
    std::string a = RandomDecimal(), b = RandomDecimal();
    if (i % 2 == 0) {
      const Scaled x = Read(a), y = Read(b);
      const Natural k = N(RandomDigits(1 + rng() % 12));
      a = Text(engine::Multiply(x.digits, k), x.fraction);
      b = Text(engine::Multiply(y.digits, k), y.fraction);
    }
    const std::string factor = RefFactor(a, b);
    EXPECT_EQ(List(true, true, {a, b}), factor) << a << " " << b;
    EXPECT_EQ(List(false, true, {a, b}), RefMultiple(a, b)) << a << " " << b;
    // Reduced always: numerator x factor and divisor x factor give back the
    // pair, and numerator and divisor share nothing.
    const functions::type_Fraction f = functions::ReduceFraction_Function(a, b, false, true);
    const std::string g = RefCommonDivisor(a, b);
    EXPECT_EQ(f.Reduced_By, g) << a << " " << b;
    const Scaled n = Read(f.Numerator), d = Read(f.divisor), r = Read(g);
    EXPECT_EQ(n.fraction + d.fraction, 0u);
    EXPECT_EQ(Text(engine::Multiply(n.digits, r.digits), r.fraction), a);
    EXPECT_EQ(Text(engine::Multiply(d.digits, r.digits), r.fraction), b);
    EXPECT_EQ(engine::gcd_euclid(n.digits, d.digits), Natural(1)) << a << " " << b;
  }
}

// A long running multiple beside short values: the fold never divides it,
// and a multiple that outgrows a cell is "#NUM!", never a cut number.
TEST_F(Fraction, LongMultiplesAndFactors) {
  std::vector<std::string> values;
  Natural expected(1);
  for (int i = 0; i < 300; ++i) {
    values.push_back(RandomDigits(20));
    expected = engine::Divide(engine::Multiply(expected, N(values.back())),
                              engine::gcd_euclid(expected, N(values.back())))
                   .quotient;
  }
  EXPECT_EQ(List(false, false, values), expected.ToDigits());
  values.push_back(RandomDigits(32767));
  EXPECT_EQ(List(false, false, values), "#NUM!");
  EXPECT_EQ(List(true, false, values), "1");

  // Cofactors of 1,500 digits keep the reference's Euclid short.
  const std::string g = RandomDigits(31000);
  const std::string a = (engine::Multiply(N(g), N(RandomDigits(1500)))).ToDigits();
  const std::string b = (engine::Multiply(N(g), N(RandomDigits(1400)))).ToDigits();
  EXPECT_EQ(List(true, false, {a, b}), engine::gcd_euclid(N(a), N(b)).ToDigits());
}

// Scaling to integers may run past a cell (16,383 fraction digits beside a
// 32,767-digit integer): the work is exact on limbs, and only an answer
// longer than a cell is "#NUM!".
TEST_F(Fraction, ScalingBeyondACellIsExact) {
  // A long common part and short cofactors (cheap for the reference):
  // the decimal has 16,383 fraction digits, the integer 32,767 digits.
  const Natural y = N(RandomDigits(32759));
  const std::string decimal = Text(engine::Multiply(y, N("9" + RandomDigits(5))), 16383);
  const Natural whole = engine::Multiply(y, N("9" + RandomDigits(7)));
  ASSERT_LE(decimal.size(), 32767u);
  ASSERT_EQ(whole.ToDigits().size(), 32767u);
  EXPECT_EQ(List(true, true, {decimal, whole.ToDigits()}), RefFactor(decimal, whole.ToDigits()));
  EXPECT_NE(RefFactor(decimal, whole.ToDigits()), "1");
  EXPECT_EQ(List(true, true, {whole.ToDigits(), decimal}), RefFactor(decimal, whole.ToDigits()));
  EXPECT_EQ(List(false, true, {decimal, whole.ToDigits()}), "#NUM!");
  // gcd(A, 2 x 10^16383) is below 10^16383: the factor is 1, the multiple
  // the product.
  const Scaled d = Read(decimal);
  EXPECT_EQ(List(false, true, {decimal, "2"}), Text(engine::MultiplySmall(d.digits, 2), d.fraction));

  // Values that used to escape as host errors.
  const std::string cell = RandomDigits(32767);
  const std::string power = "1" + std::string(32766, '0');
  EXPECT_EQ(List(true, true, {cell, "0.1"}, "format:"), "1");
  EXPECT_EQ(List(true, true, {"1E+32766", "0.5"}, "format:"), "1");
  EXPECT_EQ(List(false, true, {"1E+32766", "0.3"}, "format:"), "3" + std::string(32765, '0'));
  EXPECT_EQ(functions::ReduceFraction_Function(cell, "0.1", false, false).Reduced_By, "1");
  const functions::type_Fraction f = functions::ReduceFraction_Function(cell, "0.1", false, true);
  EXPECT_EQ(f.Numerator, "#NUM!");  // 32,768 digits: no cell holds it
  EXPECT_EQ(f.divisor, "1");
  EXPECT_EQ(f.Reduced_By, "0.1");
  EXPECT_EQ(functions::ReduceFraction_Function("3E+40000", "7", false, true).Reduced_By, "#NUM!");
  EXPECT_EQ(functions::ReduceFraction_Function(power, power, false, false).Reduced_By, power);
}

}  // namespace
}  // namespace decimora
