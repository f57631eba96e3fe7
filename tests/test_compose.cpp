// The result composer: digits, position and sign, the cell limit, fixed places.
#include <gtest/gtest.h>

#include <string>

#include "engine/number_text.h"
#include "frame/compose.h"
#include "frame/restrictionator.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;

namespace {

using decimora::testing::DefaultLocale;

using ComposeTest = DefaultLocale;

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
  // The nines a carry turns into zeros go; zeros the number had stay.
  EXPECT_EQ(frame::FitToLength("9.9996", 3), "10");
  EXPECT_EQ(frame::FitToLength("1.09996", 4), "1.1");
  EXPECT_EQ(frame::FitToLength("1.200000", 4), "1.20");
  EXPECT_EQ(frame::FitToLength("0." + std::string(32769, '9'), 32767), "1");
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

}  // namespace
