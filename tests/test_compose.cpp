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

TEST_F(ComposeTest, FixedPlacesAreBounded) {
  type_Restrictionator o;
  o.FormatDecimalPlace = Value::Number(2000000000);
  double P = 2;
  const std::string s = frame::ComposeResult("15", P, true, o);
  EXPECT_EQ(s.size(), 32767u);
  EXPECT_EQ(s.substr(0, 5), "1.500");
}

}  // namespace
