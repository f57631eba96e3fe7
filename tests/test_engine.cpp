// Internals the vectors cannot reach: the CleanUp record, the rounding and
// comparison primitives, exact long addition, the settings store and the
// locale stand-in.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "engine/addsub.h"
#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/round.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/restrictionator.h"
#include "host/cls_decimora.h"
#include "platform/convert.h"
#include "platform/locale.h"
#include "platform/settings.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;

namespace {

using decimora::testing::DefaultLocale;

using CleanUpTest = DefaultLocale;
using PrimitiveTest = DefaultLocale;
using AdditionTest = DefaultLocale;
using ComposeTest = DefaultLocale;
using CompareTest = DefaultLocale;

struct CleanCase {
  const char* input;
  bool positive;
  double decPos;
  double intChars;
  const char* digits;  // insert_decimal and include_sign false
  const char* signedText;  // both true
};

TEST_F(CleanUpTest, RecordFields) {
  const CleanCase cases[] = {
      {"", true, 0, 0, "0", "0"},
      {"-0", true, 0, 0, "0", "0"},
      {"(0)", true, 0, 0, "0", "0"},
      {"(123.40)", false, 2, 3, "1234", "-123.4"},
      {"'0042'", true, 0, 2, "42", "42"},
      {"\"42\"", true, 0, 2, "42", "42"},
      {"$1,234.50", true, 2, 4, "12345", "1234.5"},
      {"000.100", true, 2, 0, "01", "0.1"},
      {"12.5", true, 2, 2, "125", "12.5"},
      {"1200", true, 0, 4, "1200", "1200"},
      {"1.5E+3", true, 0, 4, "1500", "1500"},
      {"2.5E-4", true, 6, 0, "000025", "0.00025"},
      {"1E+0", true, 0, 1, "1", "1"},
      {"12.5E+1", true, 0, 3, "125", "125"},
      {"-1.23E-1", false, 4, 0, "0123", "-0.123"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    type_CleanUp r = CleanUp(c.input, false, false);
    EXPECT_FALSE(r.IsError);
    EXPECT_EQ(r.Positive, c.positive);
    EXPECT_EQ(r.DecPos, c.decPos);
    EXPECT_EQ(r.NumNonZeroCharsLeftOfDec, c.intChars);
    EXPECT_EQ(r.NumClean, c.digits);
    type_CleanUp s = CleanUp(c.input, true, true);
    EXPECT_EQ(s.NumClean, c.signedText);
    EXPECT_EQ(s.DecPos, c.decPos + (c.positive ? 0 : 1));
  }
}

TEST_F(CleanUpTest, InvalidTextsAndErrorValues) {
  for (const char* bad : {"1.2.3", " 5", "5 ", "1.5e3", "+5", "abc", "'5", "(5", "5)", "-", "()", "$", ".",
                          "E+5", "--5", "#N/A", "#NAME?", "#REF!", "1,2.3.4"}) {
    SCOPED_TRACE(bad);
    type_CleanUp r = CleanUp(bad, true, true);
    EXPECT_TRUE(r.IsError);
    EXPECT_EQ(r.NumClean, "#NUM!");
    EXPECT_FALSE(r.Positive);
  }
  for (const char* pass : {"#VALUE!", "#NUM!", "#DIV/0!"}) {
    type_CleanUp r = CleanUp(pass, false, false);
    EXPECT_TRUE(r.IsError);
    EXPECT_EQ(r.NumClean, pass);
  }
  // An exponent that is not a 32-bit integer cannot be converted.
  EXPECT_EQ(CleanUp("1E5", false, false).NumClean, "#VALUE!");
  EXPECT_EQ(CleanUp("1E+99999999999", false, false).NumClean, "#VALUE!");
}

TEST_F(CleanUpTest, ExponentExpansionIsBounded) {
  // A short text must never expand to gigabytes.
  EXPECT_EQ(ExpandExponent("1E+2000000000"), "#NUM!");
  EXPECT_EQ(ExpandExponent("1E-2000000000"), "#NUM!");
  EXPECT_EQ(CleanUp("1E+2147483647", false, false).NumClean, "#NUM!");
  // Longer than a cell is still fine as an intermediate value.
  EXPECT_EQ(ExpandExponent("1E+40000").size(), 40001u);
  EXPECT_EQ(ExpandExponent("-1.5E-3"), "-0.0015");
  EXPECT_EQ(ExpandExponent("(1.2345E+2)"), "-123.45");
  // One bound for both directions: the expanded text, sign aside, holds at
  // most kMaxExpandedLength characters.
  EXPECT_EQ(ExpandExponent("1E+1048575").size(), kMaxExpandedLength);
  EXPECT_EQ(ExpandExponent("1E-1048574").size(), kMaxExpandedLength);
  EXPECT_EQ(ExpandExponent("-1E+1048575").size(), kMaxExpandedLength + 1);
  EXPECT_EQ(ExpandExponent("1.5E+1048575").size(), kMaxExpandedLength);
  EXPECT_EQ(ExpandExponent("1.5E-1048573").size(), kMaxExpandedLength);
  EXPECT_EQ(ExpandExponent("1E+1048576"), "#NUM!");
  EXPECT_EQ(ExpandExponent("1E-1048575"), "#NUM!");
  EXPECT_EQ(ExpandExponent("1.5E+1048576"), "#NUM!");
  EXPECT_EQ(ExpandExponent("1.5E-1048574"), "#NUM!");
}

TEST_F(CleanUpTest, ExponentIsASignAndDigits) {
  for (const char* bad : {"1E5", "1E 5", "1E*5", "1Ea5", "1E+", "1E-", "1E+ 5", "1E+5 ", "1E+5.0", "1E--5", "1E+-5"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ExpandExponent(bad), "#VALUE!");
    EXPECT_EQ(ReadNumberText(bad), "#VALUE!");
    EXPECT_EQ(CleanUp(bad, true, true).NumClean, "#VALUE!");
  }
  EXPECT_EQ(ReadNumberText("1E+5"), "100000");
  EXPECT_EQ(ReadNumberText("1E-5"), "0.00001");
  EXPECT_EQ(ReadNumberText("1E+05"), "100000");
}

TEST_F(CleanUpTest, LongInputsRoundToOneDigitMoreThanACell) {
  const std::string nines(40000, '9');
  type_CleanUp r = CleanUp(nines, false, false);
  ASSERT_FALSE(r.IsError);
  EXPECT_EQ(r.NumClean, "1" + std::string(40000, '0'));
  const std::string tail = "1" + std::string(32767, '0') + "4999";
  EXPECT_EQ(CleanUp(tail, false, false).NumClean, "1" + std::string(32771, '0'));
}

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

TEST_F(PrimitiveTest, StripAndTrim) {
  EXPECT_EQ(StripLeadingZeros("000123"), "123");
  EXPECT_EQ(StripLeadingZeros("00.5"), "0.5");
  EXPECT_EQ(StripLeadingZeros(""), "0");
  EXPECT_EQ(StripLeadingZeros("000"), "0");
  EXPECT_EQ(StripLeadingZeros("-007"), "-007");
  EXPECT_EQ(TrimFractionZeros("1.2500"), "1.25");
  EXPECT_EQ(TrimFractionZeros("5.000"), "5");
  EXPECT_EQ(TrimFractionZeros(".50"), "0.5");
  EXPECT_EQ(TrimFractionZeros("500"), "500");
  EXPECT_EQ(IntegerPart(".5"), "0");
  EXPECT_EQ(AbsText("(12)"), "12");
}

TEST_F(PrimitiveTest, SignOfTheNumberRead) {
  for (const char* negative : {"-5", "(5)", "$-5.5", "-$5.5", "'-5'", "\"-5\"", "($5)", "$(5)", "'$-5'", ",-5",
                               "-1E+5", "(1.5E-3)"}) {
    EXPECT_FALSE(IsNonNegative(negative)) << negative;
  }
  for (const char* positive : {"5", "$5", "5$", "'5'", "1E-5", "", "0", ".5", "$1,234"}) {
    EXPECT_TRUE(IsNonNegative(positive)) << positive;
  }
  // A long text is judged by its front.
  EXPECT_FALSE(IsNonNegative("$-" + std::string(40000, '9')));
}

TEST_F(PrimitiveTest, CompareDigitStrings) {
  EXPECT_TRUE(CompareDigitStrings("100", "99", false, true));
  EXPECT_TRUE(CompareDigitStrings("42", "42", true, false));
  EXPECT_FALSE(CompareDigitStrings("42", "42", false, true));
  EXPECT_TRUE(CompareDigitStrings("42", "42", true, true));
  EXPECT_FALSE(CompareDigitStrings("41", "42", true, true));
  EXPECT_FALSE(CompareDigitStrings("43", "42", false, false));
}

TEST_F(PrimitiveTest, SignDecisionTable) {
  struct {
    std::int16_t code;
    const char* a;
    const char* b;
    std::int16_t op;
    const char* o1;
    const char* o2;
    bool negative;
  } rows[] = {
      {1, "5", "7", 1, "5", "7", false},    {1, "5", "-7", 2, "5", "7", false},
      {1, "-5", "7", 2, "7", "5", false},   {1, "-5", "-7", 1, "5", "7", true},
      {2, "5", "7", 2, "5", "7", false},    {2, "5", "-7", 1, "5", "7", false},
      {2, "-5", "7", 1, "5", "7", true},    {2, "-5", "-7", 2, "7", "5", false},
      {3, "-5", "7", 3, "5", "7", true},    {4, "-5", "-7", 4, "5", "7", false},
      {6, "-5", "7", 6, "-5", "7", false},  {9, "5", "7", 0, "", "", false},
  };
  for (const auto& r : rows) {
    std::string a = r.a;
    std::string b = r.b;
    type_SignOp op = DecideSignOperation(r.code, a, b);
    EXPECT_EQ(op.Operation, r.op);
    EXPECT_EQ(op.Operand1, r.o1);
    EXPECT_EQ(op.Operand2, r.o2);
    EXPECT_EQ(op.Negative, r.negative);
  }
}

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

TEST_F(ComposeTest, DigitsPositionAndSign) {
  type_Restrictionator o;
  o.maxSD = 100;
  double P = 3;
  EXPECT_EQ(frame::ComposeResult("12345", P, true, o), "123.45");
  EXPECT_EQ(P, 3);
  o.maxSD = 2;
  P = 3;
  EXPECT_EQ(frame::ComposeResult("12345", P, true, o), "123");
  o.maxSD = 100;
  P = 4;
  EXPECT_EQ(frame::ComposeResult("1000", P, true, o), "1");
  EXPECT_EQ(P, 1);
  P = 4;
  EXPECT_EQ(frame::ComposeResult("5", P, true, o), "0.005");
  P = -1;
  EXPECT_EQ(frame::ComposeResult("5", P, true, o), "#VALUE!");
  P = 1;
  EXPECT_EQ(frame::ComposeResult("#DIV/0!", P, true, o), "#DIV/0!");
}

TEST_F(ComposeTest, CellLimit) {
  type_Restrictionator o;
  o.maxSD = 40000;
  double P = 0;
  EXPECT_EQ(frame::ComposeResult(std::string(32767, '7'), P, true, o).size(), 32767u);
  P = 0;
  EXPECT_EQ(frame::ComposeResult(std::string(32768, '7'), P, true, o), "#NUM!");
  P = 0;
  EXPECT_EQ(frame::ComposeResult(std::string(32767, '7'), P, false, o), "#NUM!");  // no room for "-"
  o.FormatNegative = 0;
  P = 0;
  EXPECT_EQ(frame::ComposeResult(std::string(32767, '7'), P, false, o).size(), 32767u);
  o.FormatNegative = 1;
  o.FormatCurrency = true;
  P = 0;
  EXPECT_EQ(frame::ComposeResult(std::string(32767, '7'), P, true, o), "#NUM!");
  // A long fraction is cut to what a cell holds.
  o.FormatCurrency = false;
  P = 40000;
  const std::string longFraction = frame::ComposeResult(std::string(39999, '3'), P, true, o);
  EXPECT_EQ(longFraction.size(), 32767u);
  EXPECT_EQ(longFraction.substr(0, 4), "0.33");
}

TEST_F(ComposeTest, FittingKeepsEveryIntegerDigitThatFits) {
  // The fraction of a result whose integer part fills the cell is dropped,
  // never the result itself; only an integer part that does not fit is
  // "#NUM!".
  const std::string ints(32767, '4');
  EXPECT_EQ(frame::FitToLength(ints + ".56", 32767), ints);
  EXPECT_EQ(frame::FitToLength(ints + "4.5", 32767), "#NUM!");
  EXPECT_EQ(frame::FitToLength(std::string(32768, '4'), 32767), "#NUM!");
  // A carry that lengthens the integer part cannot be cut back.
  EXPECT_EQ(frame::FitToLength("999.996", 3), "#NUM!");
  EXPECT_EQ(frame::FitToLength("99.996", 3), "100");
  // No bare separator at the end, in plain and exponent form.
  EXPECT_EQ(frame::FitToLength("123.456", 4), "123");
  EXPECT_EQ(frame::FitToLength("1.2345E+5", 5), "1E+5");
  // Grouped text: the digits are fitted, the groups kept.
  EXPECT_EQ(frame::FitToLength("1,234.5678", 8), "1,234.56");
  EXPECT_EQ(frame::FitToLength("1,234,567.8", 9), "1,234,567");
  EXPECT_EQ(frame::FitToLength("1,234,567.8", 8), "#NUM!");
  EXPECT_EQ(frame::FitToLength("999,999.9999", 9), "1,000,000");
  EXPECT_EQ(frame::FitToLength("999,999.9999", 8), "#NUM!");

  type_Restrictionator o;
  o.maxSD = 32767;
  double P = 3;
  // 32,767 integer digits and a fraction: the integer part, the fraction cut.
  EXPECT_EQ(frame::ComposeResult(ints + "56", P, true, o), ints);
  // Grouped: 1,234,567 / 3 to 32,767 digits fits once the fraction is cut.
  o.FormatThousands = true;
  P = 32764;
  std::string grouped = frame::ComposeResult("411522" + std::string(32763, '3'), P, true, o);
  EXPECT_EQ(grouped.size(), 32767u);
  EXPECT_EQ(grouped.substr(0, 9), "411,522.3");
  // Sign and currency take their characters before the fitting.
  o.FormatThousands = false;
  o.FormatCurrency = true;
  P = 40000;
  const std::string money = frame::ComposeResult(std::string(39999, '3'), P, false, o);
  EXPECT_EQ(money.size(), 32767u);
  EXPECT_EQ(money.substr(0, 5), "-$0.3");
  o.FormatCurrency = false;
  o.FormatNegative = 0;
  P = 40000;
  EXPECT_EQ(frame::ComposeResult(std::string(39999, '3'), P, false, o).size(), 32767u);
}

TEST_F(ComposeTest, FixedPlacesNeverLeaveABareSeparator) {
  type_Restrictionator o;
  o.maxSD = 32767;
  o.FormatDecimalPlace = Value::Number(2);
  double P = 0;
  const std::string s = frame::ComposeResult(std::string(32766, '8'), P, true, o);
  EXPECT_EQ(s, std::string(32766, '8'));
  P = 0;
  o.FormatThousands = true;
  const std::string g = frame::ComposeResult("1234", P, true, o);
  EXPECT_EQ(g, "1,234.00");
}

TEST_F(ComposeTest, FixedPlacesAreBounded) {
  type_Restrictionator o;
  o.FormatDecimalPlace = Value::Number(2000000000);
  double P = 2;
  const std::string s = frame::ComposeResult("15", P, true, o);
  EXPECT_EQ(s.size(), 32767u);
  EXPECT_EQ(s.substr(0, 5), "1.500");
}

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

TEST(Restrictionator, Normalisation) {
  const Value none;
  auto fn = [&](const Value& v) { return frame::Restrictionator(v, none, none, none, none, none, none).FormatNegative; };
  EXPECT_EQ(fn(none), 1);
  EXPECT_EQ(fn(Value::Number(0)), 0);
  EXPECT_EQ(fn(Value::Number(2)), 2);
  EXPECT_EQ(fn(Value::Text("2")), 2);
  EXPECT_EQ(fn(Value::Number(3)), 1);
  EXPECT_EQ(fn(Value::Text("x")), 1);
  EXPECT_EQ(fn(Value::Bool(true)), 1);
  auto th = [&](const Value& v) { return frame::Restrictionator(none, v, none, none, none, none, none).FormatThousands; };
  EXPECT_TRUE(th(Value::Bool(true)));
  EXPECT_TRUE(th(Value::Number(-1)));
  EXPECT_FALSE(th(Value::Number(1)));
  EXPECT_FALSE(th(none));
  auto msd = [&](const Value& v) { return frame::Restrictionator(none, none, none, none, v, none, none).maxSD; };
  EXPECT_EQ(msd(Value::Number(50)), 50);
  EXPECT_EQ(msd(Value::Number(40000)), 32767);
  EXPECT_EQ(msd(Value::Number(0)), 0);
  EXPECT_EQ(msd(Value::Number(-5)), 0);
  // Not a number: the default, never a failed call.
  for (const Value& v : {Value::Text("abc"), Value::Text(""), Value::Text("$5"), Value::Error(HostError::NA),
                         Value::FromArray(Array(1, 2))}) {
    EXPECT_EQ(msd(v), frame::DefaultMaxSD());
  }
  const type_Restrictionator both =
      frame::Restrictionator(none, Value::Bool(true), none, Value::Bool(true), none, none, none);
  EXPECT_FALSE(both.FormatThousands);
  EXPECT_TRUE(both.ExponentialNotation);
}

// Value keeps short texts in place and longer ones on the heap; copies,
// moves and assignment must keep every kind intact across that boundary.
TEST(Value, EveryKindSurvivesCopyMoveAndAssignment) {
  const std::string in_place(14, '7');
  const std::string on_heap(15, '8');
  Array block(2, 1);
  block.at(1, 1) = Value::Text(on_heap);
  const std::vector<Value> kinds = {Value(),           Value::Empty(),          Value::Text(""),
                                    Value::Text(in_place), Value::Text(on_heap), Value::Number(-2.5),
                                    Value::Bool(true), Value::Error(HostError::NA), Value::FromArray(block)};
  for (const Value& v : kinds) {
    Value copy = v;
    EXPECT_EQ(copy, v);
    Value moved = std::move(copy);
    EXPECT_EQ(moved, v);
    EXPECT_TRUE(copy.isOmitted());  // NOLINT(bugprone-use-after-move): moved-from is omitted
    for (const Value& w : kinds) {
      Value target = w;
      target = v;
      EXPECT_EQ(target, v);
      const Value& same = target;
      target = same;  // assignment to itself
      EXPECT_EQ(target, v);
    }
  }
  EXPECT_EQ(kinds[3].text(), in_place);
  EXPECT_EQ(kinds[4].text(), on_heap);
  EXPECT_NE(Value::Text(in_place), Value::Text(on_heap));
  EXPECT_NE(Value::Number(1), Value::Text("1"));
  // An array is shared by its copies and outlives the value it came from.
  Value outer;
  {
    const Value inner = Value::FromArray(block);
    outer = inner;
  }
  EXPECT_EQ(outer.array().at(1, 1).text(), on_heap);
  EXPECT_TRUE(outer.array().at(2, 1).isEmpty());
}

TEST(HostConversions, DoublesAsTheHostWritesThem) {
  platform::SetLocaleOverrides({});
  EXPECT_EQ(platform::FormatHostNumber(1e15), "1E+15");
  EXPECT_EQ(platform::FormatHostNumber(1.5e-5), "1.5E-05");
  EXPECT_EQ(platform::FormatHostNumber(123456789012345.0), "123456789012345");
  EXPECT_EQ(platform::FormatHostNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(platform::FormatHostNumber(-0.0), "0");
  EXPECT_EQ(platform::VariantToText(Value::Bool(true)), "True");
  EXPECT_EQ(platform::VariantToText(Value::Empty()), "");
  EXPECT_FALSE(platform::VariantToText(Value::Error(HostError::NA)));
  EXPECT_EQ(platform::TextToDouble(" 1,234.5 "), 1234.5);
  EXPECT_EQ(platform::TextToDouble("(2)"), -2);
  EXPECT_FALSE(platform::TextToDouble("nan"));
  EXPECT_FALSE(platform::TextToDouble("1.2.3"));
}

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    // A fresh directory of our own: runs in parallel never share one.
    std::string dir = (std::filesystem::temp_directory_path() / "decimora-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    saved_ = old != nullptr ? old : "";
    had_ = old != nullptr;
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (had_) ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(dir_);
    frame::SetDefaultMaxSD(100);
  }
  std::filesystem::path file() const { return dir_ / "decimora" / "settings.ini"; }
  std::string read() const {
    std::ifstream in(file());
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::path dir_;
  std::string saved_;
  bool had_ = false;
};

TEST_F(SettingsStore, FirstUseWritesTheFactoryDefault) {
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
  EXPECT_EQ(read(), "[Options]\nMaxSD=100\n");
}

TEST_F(SettingsStore, StoredValueIsUsedAndOtherLinesKept) {
  std::filesystem::create_directories(file().parent_path());
  std::ofstream(file()) << "; mine\n[Other]\nMaxSD=7\n[Options]\nColour=blue\nMaxSD = 250\n";
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(250));
  EXPECT_EQ(dcm.dcmADD(Value::Text("1" + std::string(300, '0') + "1"), Value::Text("0")).text().size(), 302u);
  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "30"));
  EXPECT_EQ(read(), "; mine\n[Other]\nMaxSD=7\n[Options]\nColour=blue\nMaxSD=30\n");
}

TEST_F(SettingsStore, NonNumberFallsBackAndLeavesTheFileAlone) {
  std::filesystem::create_directories(file().parent_path());
  const std::string content = "[Options]\nMaxSD=lots\n";
  std::ofstream(file()) << content;
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
  EXPECT_EQ(read(), content);
}

TEST_F(SettingsStore, UnwritableStoreFallsBack) {
  std::ofstream(dir_ / "decimora") << "a file where the folder should be\n";
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
}

TEST_F(SettingsStore, StoreThatIsADirectoryFallsBack) {
  std::filesystem::create_directories(file());  // settings.ini is a directory: unreadable
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(100));
}

TEST_F(SettingsStore, ByteOrderMarkIsReadAndKept) {
  std::filesystem::create_directories(file().parent_path());
  std::ofstream(file()) << "\xEF\xBB\xBF[Options]\nMaxSD=250\n";
  cls_Decimora dcm;
  EXPECT_EQ(dcm.dcmDEFAULTMAXSD(), Value::Number(250));
  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "30"));
  EXPECT_EQ(read(), "\xEF\xBB\xBF[Options]\nMaxSD=30\n");  // one section, not two
}

TEST_F(SettingsStore, WriteKeepsSymlinkAndModeAndRemovesStaleTemporaries) {
  namespace fs = std::filesystem;
  fs::create_directories(file().parent_path());
  const fs::path real = dir_ / "real.ini";
  std::ofstream(real) << "[Options]\nMaxSD=7\n";
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("../real.ini", file());
  // A writer killed before its rename: its process no longer exists.
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const fs::path stale = real.string() + ".tmp." + std::to_string(dead);
  std::ofstream(stale) << "half";

  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "30"));
  EXPECT_TRUE(fs::is_symlink(file()));
  EXPECT_EQ(read(), "[Options]\nMaxSD=30\n");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_FALSE(fs::exists(stale));
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos) << entry.path();
  }
}

TEST(Locale, CLocaleDefaults) {
  platform::SetLocaleOverrides({});
  EXPECT_EQ(platform::LocaleDecimalSeparator(), '.');
  EXPECT_EQ(platform::LocaleThousandsSeparator(), ",");
  EXPECT_EQ(platform::LocaleCurrencySymbol(), "$");
  EXPECT_EQ(platform::LocaleCurrencyPlacement(), platform::CurrencyPlacement::Before);
  platform::LocaleOverrides o;
  o.decimalSeparator = ',';
  platform::SetLocaleOverrides(o);
  EXPECT_EQ(platform::LocaleThousandsSeparator(), ".");  // never the same as the decimal separator
  platform::SetLocaleOverrides({});
}

}  // namespace
