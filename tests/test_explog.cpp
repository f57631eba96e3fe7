// The exponential and logarithm workers against a literal transcription of
// their algorithms through the text dispatcher, and the linear division by a
// small whole number against the dispatcher's division.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/decimal.h"
#include "engine/division.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/steps.h"
#include "functions/constants.h"
#include "functions/explog.h"
#include "test_locale.h"

namespace decimora {
namespace {

using frame::StepNumber;
using functions::explog_detail::DivideBySmall;

std::mt19937_64 rng(20261207);
std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(rng() % n); }

std::string Short(const std::string& s) {
  return s.size() <= 70 ? s : s.substr(0, 35) + "...(" + std::to_string(s.size()) + ")";
}

// --- The literal algorithms, every step a text dispatcher call ---------------

std::string C(std::int16_t op, const std::string& a, const std::string& b, double P) {
  return frame::CalculateText(op, a, b, P);
}
std::string Num(double d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}
bool Greater(const std::string& a, const std::string& b) {
  return frame::CompareNumbers(a, b, false, true).boolean();
}

// Get_Exponent as written: leading zeros off, then the separator's place.
std::string TextExponent(std::string t) {
  t.erase(0, t.find_first_not_of('0') == std::string::npos ? t.size() : t.find_first_not_of('0'));
  std::int64_t x = 0;
  if (!t.empty() && t[0] == '.') {
    std::size_t j = 2;  // 1-based positions, the separator is 1
    while (j <= t.size() && t[j - 1] == '0') ++j;
    x = 2 - static_cast<std::int64_t>(j);
  } else if (t.find('.') != std::string::npos) {
    x = static_cast<std::int64_t>(t.find('.') + 1) - 1;
  } else {
    x = static_cast<std::int64_t>(t.size());
  }
  return std::to_string(x);
}
bool BelowPrecision(const std::string& t, double P) {
  const std::string e = C(engine::kSubtract, TextExponent(t), "1", P);
  return -P > std::stod(e);
}

// ln before its final rounding; P the working precision (at least 10).
std::string LiteralLn(const std::string& num, double P) {
  const std::string L2 = functions::Get_Ln2(P);
  const auto k = static_cast<std::int64_t>(std::floor(std::log(std::stod(num)) / std::log(2.0)));
  const std::string p = C(engine::kPower, "2", std::to_string(std::llabs(k)), P);
  const std::string y = k >= 0 ? C(engine::kDivide, num, p, P) : C(engine::kMultiply, num, p, P);
  const std::string z = C(engine::kDivide, C(engine::kAdd, y, "-1", P), C(engine::kAdd, y, "1", P), P);
  std::string sum = z;
  std::string term = z;
  const std::string z2 = C(engine::kMultiply, z, z, P);
  const double N = std::nearbyint(std::stod(C(engine::kMultiply, Num(P), "5", P)));
  for (double i = 3; i <= N; i += 2) {
    term = C(engine::kMultiply, term, z2, P);
    const std::string t = C(engine::kDivide, term, Num(i), P);
    sum = C(engine::kAdd, sum, t, P);
    if (BelowPrecision(t, P)) break;
  }
  sum = C(engine::kMultiply, "2", sum, P);
  const std::string r = C(engine::kMultiply, L2, std::to_string(k), P);
  return C(engine::kAdd, r, sum, P);
}

// e^num before its final formatting.
std::string LiteralExp(const std::string& num, double maxSD) {
  if (num == "0") return "1";
  const bool neg = num[0] == '-';
  const std::string x = neg ? num.substr(1) : num;
  const double P = std::nearbyint(maxSD + 10);
  const std::string L2 = functions::Get_Ln2(P);
  const auto k = static_cast<std::int64_t>(std::floor(std::stod(x) / std::stod(L2)));
  std::string r = C(engine::kSubtract, x, C(engine::kMultiply, std::to_string(k), L2, P), P);
  int h = 0;
  while (!Greater("0.1", r)) {
    r = C(engine::kDivide, r, "2", P);
    ++h;
  }
  std::string sum = C(engine::kAdd, "1", r, P);
  std::string term = r;
  const double N = std::nearbyint(P * 5);
  for (double i = 2; i <= N; ++i) {
    term = C(engine::kMultiply, term, C(engine::kDivide, r, Num(i), P), P);
    sum = C(engine::kAdd, sum, term, P);
    if (BelowPrecision(term, P)) break;
  }
  for (int j = 0; j < h; ++j) sum = C(engine::kMultiply, sum, sum, P);
  if (k > 0) sum = C(engine::kMultiply, sum, C(engine::kPower, "2", std::to_string(k), P), P);
  if (neg) sum = C(engine::kDivide, "1", sum, P);
  return C(engine::kMultiply, "1", sum, P);
}

std::string FinalFormat(const std::string& value, double maxSD) {
  return frame::CalculateText(engine::kAdd, value, "0", maxSD);
}

// A number text of up to 16 significant digits between about 10^-lo and
// 10^hi.
std::string RandomNumber(int lo, int hi, bool allowNegative) {
  std::string d;
  const std::size_t n = 1 + Pick(16);
  for (std::size_t i = 0; i < n; ++i) d += static_cast<char>('0' + Pick(10));
  d[0] = static_cast<char>('1' + Pick(9));
  const int e = static_cast<int>(Pick(static_cast<std::size_t>(hi + lo + 1))) - lo;  // position of the point
  std::string text;
  if (e <= 0) {
    text = "0." + std::string(static_cast<std::size_t>(-e), '0') + d;
  } else if (static_cast<std::size_t>(e) >= d.size()) {
    text = d + std::string(static_cast<std::size_t>(e) - d.size(), '0');
  } else {
    text = d.substr(0, static_cast<std::size_t>(e)) + "." + d.substr(static_cast<std::size_t>(e));
  }
  std::optional<engine::Decimal> v = engine::Decimal::Parse(text);
  text = v->Text();
  if (allowNegative && Pick(2) == 0) text = "-" + text;
  return text;
}

class ExpLog : public testing::DefaultLocale {};

// --- Division by a small whole number ------------------------------------------

TEST_F(ExpLog, DivisionBySmallWholeNumbersIsTheDispatchersDivision) {
  for (int c = 0; c < 4000; ++c) {
    std::string digits;
    const std::size_t n = Pick(3) == 0 ? 1 + Pick(20) : 1 + Pick(Pick(4) == 0 ? 3000 : 300);
    const int shape = static_cast<int>(Pick(4));
    for (std::size_t i = 0; i < n; ++i) {
      digits += shape == 0 ? '9' : (shape == 1 && i > 0 ? '0' : static_cast<char>('0' + Pick(10)));
    }
    if (digits[0] == '0') digits[0] = '1';
    std::optional<engine::Natural> coef = engine::Natural::FromDigits(digits);
    engine::Decimal a(Pick(4) == 0, *coef, static_cast<std::int64_t>(Pick(n + 20)));
    a.Normalize();
    static const std::uint32_t edges[] = {2, 3, 4, 5, 7, 8, 9, 10, 11, 99, 100, 101, 999, 1000, 4097, 99999, 163835};
    const std::uint32_t d = Pick(2) == 0 ? edges[Pick(std::size(edges))] : 2 + static_cast<std::uint32_t>(Pick(200000));
    const double maxSD = Pick(5) == 0 ? static_cast<double>(Pick(30)) : static_cast<double>(Pick(1200)) + (Pick(8) == 0 ? 0.5 : 0);
    const StepNumber got = DivideBySmall(a, d, maxSD);
    const StepNumber want = frame::StepDivide(a, engine::Decimal::Integer(d), maxSD);
    ASSERT_EQ(got.Text(), want.Text()) << Short(a.Text()) << " / " << d << " maxSD " << maxSD;
  }
  // Dividends written with zeros ending their fraction, as a cell's cut
  // leaves them.
  for (int c = 0; c < 600; ++c) {
    std::string text = "0." + std::string(Pick(30), '0') + std::to_string(1 + Pick(9));
    const std::size_t n = Pick(200);
    for (std::size_t i = 0; i < n; ++i) text += static_cast<char>('0' + Pick(10));
    text += std::string(1 + Pick(12), '0');
    if (Pick(4) == 0) text = std::to_string(1 + Pick(999)) + text.substr(1);
    const StepNumber a = StepNumber::FromText(text);
    const std::uint32_t d = 2 + static_cast<std::uint32_t>(Pick(Pick(2) == 0 ? 20 : 5000));
    const double maxSD = static_cast<double>(Pick(300));
    ASSERT_EQ(DivideBySmall(a, d, maxSD).Text(), frame::StepDivide(a, engine::Decimal::Integer(d), maxSD).Text())
        << text << " / " << d << " maxSD " << maxSD;
  }
  // The dividend equal to the divisor, and zero.
  EXPECT_EQ(DivideBySmall(engine::Decimal::Integer(7), 7, 20).Text(), "1");
  EXPECT_EQ(DivideBySmall(engine::Decimal(), 7, 20).Text(), "0");
}

TEST_F(ExpLog, ProductsFromLeadingDigitsAreTheDispatchersProducts) {
  auto operand = [] {
    std::string digits;
    const std::size_t n = 1 + Pick(Pick(3) == 0 ? 2500 : 400);
    const int shape = static_cast<int>(Pick(4));
    for (std::size_t i = 0; i < n; ++i) digits += shape == 0 ? '9' : static_cast<char>('0' + Pick(10));
    if (digits[0] == '0') digits[0] = '1';
    engine::Decimal v(Pick(3) == 0, *engine::Natural::FromDigits(digits), static_cast<std::int64_t>(Pick(n + 30)));
    v.Normalize();
    return v;
  };
  // Short and long operands; near a cell's length the composer cuts the
  // text, and the product is taken from cut operands.
  auto longOperand = [] {
    std::string digits = std::to_string(1 + Pick(9));
    const std::size_t n = 2000 + Pick(31000);
    while (digits.size() < n) digits += std::to_string(rng());
    digits.resize(n);
    engine::Decimal v(Pick(3) == 0, *engine::Natural::FromDigits(digits),
                      static_cast<std::int64_t>(n + Pick(20000)));
    v.Normalize();
    return v;
  };
  for (int c = 0; c < 2000; ++c) {
    const bool cellLong = c % 10 == 0;
    const engine::Decimal a = cellLong ? longOperand() : operand();
    const engine::Decimal b = Pick(6) == 0 ? a : (cellLong ? longOperand() : operand());
    const double maxSD = cellLong ? 32767 - static_cast<double>(Pick(3) == 0 ? Pick(20000) : Pick(5))
                         : Pick(4) == 0 ? static_cast<double>(Pick(40))
                                        : static_cast<double>(Pick(3000));
    ASSERT_EQ(functions::explog_detail::MultiplyStep(a, b, maxSD).Text(), frame::StepMultiply(a, b, maxSD).Text())
        << Short(a.Text()) << " * " << Short(b.Text()) << " maxSD " << maxSD;
  }
}

// --- The workers against the literal algorithms ---------------------------------

TEST_F(ExpLog, ExpIsTheLiteralSeries) {
  for (int c = 0; c < 600; ++c) {
    const std::string x = Pick(10) == 0 ? std::to_string(Pick(200)) : RandomNumber(12, 3, true);
    const double maxSD = static_cast<double>(Pick(30));
    const std::string want = FinalFormat(LiteralExp(x, maxSD), maxSD);
    EXPECT_EQ(functions::Exp_Function(Value::Text(x), {}, Value::Number(maxSD), false), want)
        << "exp " << x << " maxSD " << maxSD;
  }
}

TEST_F(ExpLog, LnIsTheLiteralSeries) {
  for (int c = 0; c < 600; ++c) {
    std::string x = RandomNumber(30, 30, false);
    if (Pick(10) == 0) x = std::to_string(1ULL << Pick(40));  // exact powers of two: zero terms
    const double maxSD = static_cast<double>(Pick(30));
    const double P = std::max(maxSD, 10.0);
    if (x == "1") continue;
    const std::string value = LiteralLn(x, P);
    EXPECT_EQ(functions::Ln_Function(Value::Text(x), {}, Value::Number(maxSD), false), FinalFormat(value, maxSD))
        << "ln " << x << " maxSD " << maxSD;
    EXPECT_EQ(functions::Ln_Function(Value::Text(x), {}, Value::Number(maxSD), true),
              engine::RoundToMaxSD(value, maxSD))
        << "ln (internal) " << x << " maxSD " << maxSD;
  }
}

TEST_F(ExpLog, LogIsTheQuotientOfLiteralLogarithms) {
  static const char* bases[] = {"10", "2", "7", "0.5", "1.5", "16", "1000", "3.25"};
  for (int c = 0; c < 300; ++c) {
    const std::string x = RandomNumber(20, 20, false);
    if (x == "1") continue;
    const std::string base = bases[Pick(std::size(bases))];
    const double maxSD = static_cast<double>(Pick(25));
    const double P = std::nearbyint(std::max(maxSD, 10.0) + (base == std::string("2") ? 2 : 10));
    const std::string lb = base == std::string("10")  ? functions::Get_Ln10(P)
                           : base == std::string("2") ? functions::Get_Ln2(P)
                                                      : engine::RoundToMaxSD(LiteralLn(base, P), P);
    const std::string ln = engine::RoundToMaxSD(LiteralLn(x, P), P);
    const std::string want = FinalFormat(C(engine::kDivide, ln, lb, P), maxSD);
    EXPECT_EQ(functions::Log_Function(Value::Text(x), Value::Text(base), {}, Value::Number(maxSD), false), want)
        << "log " << x << " base " << base << " maxSD " << maxSD;
  }
}

TEST_F(ExpLog, TermExponentReadsTheTextAsWritten) {
  for (const char* t : {"0", "5", "12000", "0.5", "0.05", "0.00123", "500.25", "-0.004", "-12", "-3.5"}) {
    const std::string want = C(engine::kSubtract, TextExponent(t), "1", 20);
    EXPECT_EQ(functions::Get_TermExponent(t, 20), want) << t;
    EXPECT_EQ(std::to_string(functions::explog_detail::TermExponent(StepNumber::FromText(t))), want) << t;
  }
}

// --- Where the written algorithm fails, and what we answer --------------------

TEST_F(ExpLog, LogarithmsBeyondTheDoubleRangeTakeTheDecimalExponent) {
  // ln(10^400) = 921.0340371976182736...; the mend only chooses k, the
  // series and the stored ln 2 do the rest.
  EXPECT_EQ(functions::dcmLN(Value::Text("1E+400"), {}, Value::Number(20)).text().substr(0, 16), "921.034037197618");
  EXPECT_EQ(functions::dcmLN(Value::Text("1E-400"), {}, Value::Number(20)).text().substr(0, 17), "-921.034037197618");
  EXPECT_EQ(functions::dcmLOG(Value::Text("1E+400")).text(), "400");
  // Where the double holds the number the k is the double's (the literal
  // series agrees above), so 1E+300 is unchanged by the mend.
  EXPECT_EQ(functions::Ln_Function(Value::Text("1E+300"), {}, Value::Number(20), true),
            engine::RoundToMaxSD(LiteralLn(std::string("1") + std::string(300, '0'), 20), 20));
}

TEST_F(ExpLog, ExponentialsBeyondACellOverflowOrUnderflow) {
  EXPECT_EQ(functions::dcmEXP(Value::Text("2E+9")).text(), "#NUM!");
  EXPECT_EQ(functions::dcmEXP(Value::Text("-2E+9")).text(), "0");
  EXPECT_EQ(functions::dcmEXP(Value::Text("1E+400")).text(), "#NUM!");
  EXPECT_EQ(functions::dcmEXP(Value::Text("80000.5")).text(), "#NUM!");
  EXPECT_EQ(functions::dcmEXP(Value::Text("-80000.5")).text(), "0");
  // Just past a cell: e^76000 has 33,007 integer digits.
  EXPECT_EQ(functions::dcmEXP(Value::Text("76000"), {}, Value::Number(10)).text(), "#NUM!");
  EXPECT_EQ(functions::dcmEXP(Value::Text("-76000"), {}, Value::Number(10)).text(), "0");
  // Still in a cell: e^-700 = 9.8597...E-305.
  EXPECT_EQ(functions::dcmEXP(Value::Text("-700"), Value::Bool(true), Value::Number(5)).text().substr(0, 5), "9.859");
}

TEST_F(ExpLog, ShortPrecisionsKeepTheLeadingDigits) {
  // ln 3 = 1.0986...: with the written precision of 1 digit the series
  // gave 0.406.
  EXPECT_EQ(functions::dcmLN(Value::Number(3), {}, Value::Number(1)).text(), "1.1");
  EXPECT_EQ(functions::dcmLN(Value::Number(3), {}, Value::Number(0)).text(), "1.1");
  EXPECT_EQ(functions::dcmLN(Value::Number(3), {}, Value::Number(3)).text(), "1.0986");
  // The same for a logarithm to base 2 (log2 of 5.57E+18 = 62.27...).
  EXPECT_EQ(functions::dcmLOG(Value::Text("5570000000000000000"), Value::Number(2), {}, Value::Number(0)).text(), "62");
}

TEST_F(ExpLog, NonNumbersAndErrorsAreValueErrors) {
  for (const Value& bad : {Value::Text("abc"), Value::Text("#NUM!"), Value::Text("#DIV/0!"), Value::Text("1..2")}) {
    EXPECT_EQ(functions::dcmEXP(bad).text(), "#VALUE!");
    EXPECT_EQ(functions::dcmLN(bad).text(), "#VALUE!");
    EXPECT_EQ(functions::dcmLOG(bad).text(), "#VALUE!");
  }
  // A host error or nothing at all is the host's #VALUE!.
  for (const Value& bad : {Value::Error(HostError::NA), Value::Omitted()}) {
    EXPECT_TRUE(functions::dcmEXP(bad).isError());
    EXPECT_TRUE(functions::dcmLN(bad).isError());
    EXPECT_TRUE(functions::dcmLOG(bad).isError());
  }
  EXPECT_EQ(functions::dcmLOG(Value::Number(5), Value::Text("abc")).text(), "#VALUE!");
}

}  // namespace
}  // namespace decimora
