// The internal dispatcher steps against the text dispatcher: for random
// operands at every maxSD, a step's text must be exactly what CalculateText
// answers, errors and cell overflows included.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/operands.h"
#include "engine/decimal.h"
#include "frame/calculate.h"
#include "frame/steps.h"
#include "test_locale.h"

namespace decimora {
namespace {

using frame::StepNumber;

std::mt19937_64 rng(20261207);

std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(rng() % n); }

// A digit count biased to the limb boundaries and to a cell's length.
std::size_t Length(bool allowLong) {
  static const std::vector<std::size_t> edges = {1, 2, 8, 9, 10, 17, 18, 19, 27, 28, 36, 37};
  switch (Pick(allowLong ? 6 : 5)) {
    case 0:
    case 1:
      return edges[Pick(edges.size())];
    case 2:
      return 1 + Pick(60);
    case 3:
      return 1 + Pick(400);
    case 4:
      return 1 + Pick(3000);
    default:
      return 16000 + Pick(17500);  // around and beyond a cell
  }
}

// Digits in the shapes that break limb arithmetic: random, all nines (the
// longest carries), a power of ten, runs of zeros.
std::string Digits(std::size_t n) {
  std::string s(n, '0');
  switch (Pick(5)) {
    case 0:
      s.assign(n, '9');
      break;
    case 1:
      s[0] = '1';
      break;
    case 2:
      for (char& c : s) c = Pick(4) == 0 ? static_cast<char>('1' + Pick(9)) : '0';
      s[0] = '1';
      break;
    default:
      for (char& c : s) c = static_cast<char>('0' + Pick(10));
      s[0] = static_cast<char>('1' + Pick(9));
  }
  return s;
}

// A number text in the dispatcher's normal form (what steps carry), now and
// then with an error text or a zero instead.
std::string Operand(bool allowLong) {
  if (Pick(40) == 0) {
    static const char* errors[] = {"#VALUE!", "#NUM!", "#DIV/0!"};
    return errors[Pick(3)];
  }
  if (Pick(25) == 0) return "0";
  std::string d = Digits(Length(allowLong));
  std::string out = Pick(3) == 0 ? "-" : "";
  const std::size_t point = Pick(d.size() + 3);
  if (point == 0 || point > d.size()) {
    out += d;  // an integer
  } else {
    // The separator after `point` digits; below 1 with leading zeros.
    const std::size_t intDigits = Pick(4) == 0 ? 0 : d.size() - point;
    std::string frac = intDigits == 0 ? std::string(Pick(12), '0') + d : d.substr(intDigits);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    const std::string whole = intDigits == 0 ? "0" : d.substr(0, intDigits);
    out += frac.empty() ? whole : whole + "." + frac;
  }
  if (out == "-0") out = "0";
  return out;
}

// A maxSD biased to limb boundaries, to the operands' lengths and to the
// largest; now and then fractional or out of range (clamped by both).
double MaxSD(std::size_t operandDigits) {
  switch (Pick(8)) {
    case 0:
      return static_cast<double>(1 + Pick(40));
    case 1: {
      static const double edges[] = {1, 7, 8, 9, 10, 16, 17, 18, 19, 26, 27, 28};
      return edges[Pick(12)];
    }
    case 2:
      return static_cast<double>(operandDigits) + static_cast<double>(Pick(5)) - 2;
    case 3:
      return Pick(2) == 0 ? 32767 : 32766;
    case 4:
      return static_cast<double>(Pick(32768));
    case 5:
      return Pick(2) == 0 ? 0 : 40000;
    case 6:
      return static_cast<double>(1 + Pick(200)) + 0.5;
    default:
      return static_cast<double>(1 + Pick(2000));
  }
}

std::string Short(const std::string& s) {
  return s.size() <= 60 ? s : s.substr(0, 30) + "...(" + std::to_string(s.size()) + ")";
}

void ExpectSame(std::int16_t code, const std::string& a, const std::string& b, double maxSD) {
  const std::string want = frame::CalculateText(code, a, b, maxSD);
  const StepNumber got = frame::Step(code, StepNumber::FromText(a), StepNumber::FromText(b), maxSD);
  EXPECT_EQ(got.Text(), want) << "op " << code << " (" << Short(a) << ", " << Short(b) << ") maxSD " << maxSD
                              << ": " << Short(got.Text()) << " vs " << Short(want);
}

class Steps : public testing::DefaultLocale {};

TEST_F(Steps, FourOperationsMatchTheDispatcherOnRandomOperands) {
  for (int i = 0; i < 2000; ++i) {
    const bool allowLong = i % 40 == 0;
    const std::string a = Operand(allowLong);
    std::string b = Operand(allowLong);
    if (Pick(30) == 0) b = "0";  // zero divisors
    const std::int16_t code = static_cast<std::int16_t>(1 + Pick(4));
    ExpectSame(code, a, b, MaxSD(std::max(a.size(), b.size())));
    if (HasFailure()) return;
  }
}

// Results at a cell's edge: an integer part of 32,767 digits (one more
// character for the sign), fractions the composer must cut, carries that
// add a digit to a full cell.
TEST_F(Steps, ResultsAtTheCellLimitMatch) {
  const std::string nines(32767, '9');
  const std::string half = std::string(16383, '7') + "." + std::string(16383, '3');
  const std::vector<std::string> big = {nines, "-" + half, "0." + nines};
  const std::vector<std::string> small = {"1", "-0.5", "7", "0", "#NUM!"};
  for (const std::string& a : big) {
    for (const std::string& b : small) {
      for (std::int16_t code : {engine::kAdd, engine::kSubtract, engine::kMultiply, engine::kDivide}) {
        ExpectSame(code, a, b, 32767);
        ExpectSame(code, b, a, code == engine::kDivide ? 100 : 32767);
      }
    }
  }
}

// Long results the composer cuts to a cell's length, computed on the value:
// near 1 (the powers' products), below 1 after leading zeros, negative
// (one character less), with nines at the cut (a carry) and zeros there (a
// text that keeps them), at and below the largest maxSD.
TEST_F(Steps, ResultsCutToACellMatch) {
  auto nearOne = [](std::size_t digits, char fill) {
    std::string s = "1." + std::string(digits, fill);
    for (std::size_t i = 2; i < s.size(); ++i) {
      if (Pick(3) == 0) s[i] = static_cast<char>('0' + Pick(10));
    }
    while (s.back() == '0') s.pop_back();
    return s;
  };
  // A carry of the fitting's rounding into the kept digits (its zeros go)
  // and zeros the number itself has at the cut (they stay).
  // (Significant digits 32,766 to 32,769 nines: kept by the rounding to
  // maxSD + 2 digits, carried by the fitting's.)
  const std::string ninesAtCut = "1." + std::string(32764, '3') + std::string(4, '9') + "1";
  const std::string zerosAtCut = "1." + std::string(32758, '3') + std::string(7, '0') + "12";
  for (const std::string& a : {ninesAtCut, zerosAtCut, "-" + ninesAtCut, "0." + std::string(32770, '9')}) {
    for (double maxSD : {32767.0, 32766.0}) {
      ExpectSame(engine::kAdd, a, "0", maxSD);
      ExpectSame(engine::kMultiply, a, "1", maxSD);
    }
  }
  for (int i = 0; i < 120; ++i) {
    const char fill = "09"[Pick(2)];
    std::string a = Pick(4) == 0 ? "0." + std::string(Pick(300), '0') + Digits(16000 + Pick(1000)) : nearOne(16380 + Pick(30), fill);
    std::string b = nearOne(16380 + Pick(30), fill);
    while (a.back() == '0') a.pop_back();
    if (Pick(3) == 0) a = "-" + a;
    const double maxSD = Pick(3) == 0 ? 32766 : (Pick(2) == 0 ? 32767 : 32700 + static_cast<double>(Pick(67)));
    ExpectSame(Pick(4) == 0 ? engine::kAdd : engine::kMultiply, a, b, maxSD);
    ExpectSame(engine::kMultiply, a, b + std::string(16000, fill) + "1", maxSD);
    if (HasFailure()) return;
  }
}

// Chains feed one step's result into the next, so that a result taken from
// the dispatcher's own text (a cut one) is an operand again.
TEST_F(Steps, ChainsStayTheDispatcher) {
  for (int chain = 0; chain < 40; ++chain) {
    const double maxSD = MaxSD(20);
    std::string text = Operand(chain % 6 == 0);
    StepNumber step = StepNumber::FromText(text);
    for (int i = 0; i < 8; ++i) {
      const std::string b = Operand(false);
      const std::int16_t code = static_cast<std::int16_t>(1 + Pick(4));
      text = frame::CalculateText(code, text, b, maxSD);
      step = frame::Step(code, step, StepNumber::FromText(b), maxSD);
      ASSERT_EQ(step.Text(), text) << "chain " << chain << " step " << i << " op " << code;
    }
  }
}

TEST_F(Steps, PowersAndInputsNotInNormalForm) {
  // Inputs as a user may write them: zeros ending a fraction, leading zeros.
  for (const char* a : {"7.50", "007", "0.0100", "-2.500", "1.0"}) {
    for (const char* b : {"2.50", "3", "0.30", "-4.0"}) {
      for (std::int16_t code : {engine::kAdd, engine::kSubtract, engine::kMultiply, engine::kDivide}) {
        ExpectSame(code, a, b, 20);
      }
    }
  }
  for (const char* b : {"2", "-3", "1.5", "0.999"}) {
    for (const char* e : {"0", "1", "3", "17", "-2", "0.5"}) {
      const Value none;
      const std::string want = frame::Calculate(engine::kPower, Value::Text(b), Value::Text(e), none, none, none,
                                                none, Value::Number(30), true, false);
      EXPECT_EQ(frame::StepPower(StepNumber::FromText(b), StepNumber::FromText(e), 30).Text(), want) << b << "^" << e;
    }
  }
}

// Roots as steps, chained as the series will chain them: square roots of
// step results, other degrees, negative radicands, error operands.
TEST_F(Steps, RootsMatchTheDispatcher) {
  for (int i = 0; i < 300; ++i) {
    std::string a = Operand(false);
    if (a.size() > 40) a.resize(40);
    while (a.size() > 1 && (a.back() == '0' || a.back() == '.') && a.find('.') != std::string::npos) a.pop_back();
    if (a.back() == '.') a.pop_back();
    static const char* degrees[] = {"2", "2", "2", "3", "-2", "5", "1.5", "0", "1"};
    const std::string n = degrees[Pick(std::size(degrees))];
    ExpectSame(engine::kRoot, a, n, static_cast<double>(1 + Pick(60)));
    if (HasFailure()) return;
  }
  StepNumber x = StepNumber::FromText("2");
  std::string text = "2";
  for (int i = 0; i < 5; ++i) {
    x = frame::StepRoot(frame::StepAdd(x, StepNumber::FromText("1"), 50), StepNumber::FromText("2"), 50);
    text = frame::CalculateText(engine::kRoot, frame::CalculateText(engine::kAdd, text, "1", 50), "2", 50);
    ASSERT_EQ(x.Text(), text);
  }
}

// Squares and cubes of bases longer than the power's cleaning keeps (the
// small powers inside a long power): the cleaning's rounding, a carry out of
// it that lengthens the base's text, bases below 1 and negative ones.
TEST_F(Steps, PowersOfLongBasesMatchTheDispatcher) {
  for (int i = 0; i < 24; ++i) {
    const std::size_t n = 32769 + (i % 3 == 0 ? Pick(3) : Pick(400));
    std::string d = i % 4 == 1 ? std::string(n, '9') : Digits(n);
    if (i % 4 == 2) d.replace(32768, 1, "5");  // the cleaning rounds up here
    if (d.back() == '0') d.back() = '3';
    const std::size_t point = i % 5 == 0 ? 0 : 1 + Pick(4);
    std::string b = point == 0 ? "0.00" + d : d.substr(0, point) + "." + d.substr(point);
    if (i % 3 == 1) b = "-" + b;
    const double maxSD = i % 2 == 0 ? 32767 : static_cast<double>(100 + Pick(32600));
    for (const char* e : {"2", "3"}) {
      const Value none;
      const std::string want = frame::Calculate(engine::kPower, Value::Text(b), Value::Text(e), none, none, none,
                                                none, Value::Number(maxSD), true, false);
      EXPECT_EQ(frame::StepPower(StepNumber::FromText(b), StepNumber::FromText(e), maxSD).Text(), want)
          << Short(b) << "^" << e << " maxSD " << maxSD;
    }
    if (HasFailure()) return;
  }
}

// The decimal value itself: parse and text round trip, comparison and shift.
TEST_F(Steps, DecimalValuesReadWriteCompareAndShift) {
  using engine::Decimal;
  for (const char* t : {"0", "-1.5", "0.000123", "123000", "999999999.999999999", "1000000000"}) {
    EXPECT_EQ(Decimal::Parse(t)->Text(), t);
  }
  EXPECT_EQ(Decimal::Parse("-0.50")->Text(), "-0.5");
  EXPECT_EQ(Decimal::Parse("-0")->Text(), "0");
  EXPECT_FALSE(Decimal::Parse("1.2.3"));
  EXPECT_FALSE(Decimal::Parse("1E5"));
  EXPECT_LT(engine::Compare(*Decimal::Parse("-2"), *Decimal::Parse("-1.5")), 0);
  EXPECT_EQ(engine::Compare(*Decimal::Parse("1.50"), *Decimal::Parse("1.5")), 0);
  EXPECT_GT(engine::Compare(*Decimal::Parse("0.1"), *Decimal::Parse("0.09999999999")), 0);
  EXPECT_EQ(engine::ShiftDecimal(*Decimal::Parse("1.25"), 3).Text(), "1250");
  EXPECT_EQ(engine::ShiftDecimal(*Decimal::Parse("1250"), -5).Text(), "0.0125");
  EXPECT_EQ(Decimal::Parse("0.000123")->DigitCount(), 3u);
  EXPECT_NEAR(*engine::Log10(*Decimal::Parse("0.001")), -3, 1e-12);
  EXPECT_EQ(*engine::Log10(*Decimal::Parse("123.45")), *engine::Log10OfText("123.45"));
}

}  // namespace
}  // namespace decimora
