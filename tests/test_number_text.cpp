// Number texts: the CleanUp record, exponent expansion and long inputs, and
// the text primitives.
#include <gtest/gtest.h>

#include <string>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;

namespace {

using decimora::testing::DefaultLocale;

using CleanUpTest = DefaultLocale;
using PrimitiveTest = DefaultLocale;

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

  // A rounded fraction is read again in normal form: no zero left in front
  // by a carry out of the first digit, none left at the end by the cut.
  const std::string nearlyOne = "-0." + std::string(32769, '9');
  EXPECT_EQ(CleanUp(nearlyOne, true, true).NumClean, "-1");
  type_CleanUp up = CleanUp(nearlyOne, false, false);
  EXPECT_EQ(up.NumClean, "1");
  EXPECT_EQ(up.DecPos, 0);
  EXPECT_EQ(up.NumNonZeroCharsLeftOfDec, 1);
  EXPECT_EQ(CleanUp("0.0" + std::string(32769, '9'), true, true).NumClean, "0.1");
  const std::string cut = "2." + std::string(32766, '3') + "4999";
  type_CleanUp down = CleanUp(cut, false, false);
  EXPECT_EQ(down.NumClean, "2" + std::string(32766, '3') + "5");
  EXPECT_EQ(down.DecPos, 32768);
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

}  // namespace
