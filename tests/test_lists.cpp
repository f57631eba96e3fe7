// The list walker and the directive reader: the policies the list functions
// share and that their vectors reach only in part (extra directive items,
// the walk order and what each value becomes, ending a walk early).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/lists.h"

namespace {

using decimora::Array;
using decimora::HostError;
using decimora::Value;
using decimora::frame::DirectiveReader;
using decimora::frame::ListItem;
using decimora::frame::IsNumberTooLongForCell;
using decimora::frame::WalkEnd;
using decimora::frame::WalkList;

TEST(DirectiveReader, WordsOnlySwitchOnAndTheFirstMaxSDCounts) {
  DirectiveReader d(32767);
  EXPECT_EQ(d.CurrentMaxSD(), 32767);
  d.Read("Format:Thousands,MSD=30");
  d.Read("FORMAT:negative msd=5");
  d.Read("format:");
  EXPECT_TRUE(d.Thousands());
  EXPECT_TRUE(d.Negative());
  EXPECT_FALSE(d.Currency());
  EXPECT_FALSE(d.Exponent());
  EXPECT_EQ(d.CurrentMaxSD(), 30);
  EXPECT_FALSE(d.AllSeen());
  d.Read("format:currency;exponent");
  EXPECT_TRUE(d.AllSeen());

  const decimora::type_Restrictionator o = d.Options();
  EXPECT_EQ(o.FormatNegative, 2);
  EXPECT_TRUE(o.FormatCurrency);
  EXPECT_TRUE(o.ExponentialNotation);
  EXPECT_FALSE(o.FormatThousands);  // exponential notation is never grouped
  EXPECT_EQ(o.maxSD, 30);
  EXPECT_TRUE(o.FormatDecimalPlace.isOmitted());
}

TEST(DirectiveReader, MaxSDNeedsDigitsAndIsCappedAtTheCellLimit) {
  DirectiveReader d(100);
  d.Read("format:msd=,thousands");
  EXPECT_FALSE(d.MaxSD().has_value());
  EXPECT_EQ(d.Options().maxSD, 100);
  d.Read("format:MSD=x MSD=0012");  // the first MSD= with digits in a directive
  EXPECT_EQ(d.CurrentMaxSD(), 12);

  DirectiveReader big(100);
  big.Read("format:msd=99999999999999999999999");
  EXPECT_EQ(big.Options().maxSD, 32767);
  EXPECT_EQ(DirectiveReader(32767).Options().FormatNegative, 1);
}

TEST(DirectiveReader, ExtraWordsAndSettings) {
  DirectiveReader d(32767, {"TABLE"}, {"BLANK="});
  EXPECT_FALSE(d.Word("table"));
  EXPECT_FALSE(d.Setting("BLANK=").has_value());
  d.Read("format:negative,thousands,currency,exponent,msd=7");
  EXPECT_FALSE(d.AllSeen());  // TABLE and BLANK= are still open
  d.Read("format:Table,Blank=n/a &more");
  d.Read("format:blank=later");
  EXPECT_TRUE(d.Word("TABLE"));
  EXPECT_EQ(d.Setting("blank=").value_or("?"), "n/a ");  // own case, up to the "&"
  EXPECT_TRUE(d.AllSeen());

  DirectiveReader to_end(32767, {}, {"BLANK="});
  to_end.Read("FORMAT:BLANK=");
  EXPECT_EQ(to_end.Setting("BLANK=").value_or("?"), "");
}

struct Seen {
  std::string text;
  std::string upper;
  bool in_array;
};

std::vector<Seen> Walk(const std::vector<Value>& list, DirectiveReader& d,
                       decimora::frame::ListWalkOptions options = {}) {
  std::vector<Seen> seen;
  WalkList(
      list, d,
      [&](const ListItem& item) {
        seen.push_back({item.text, item.upper, item.in_array});
        return true;
      },
      options);
  return seen;
}

TEST(WalkList, ValuesInArgumentOrderArraysRowByRow) {
  Array a(2, 2);
  a.at(1, 1) = Value::Text("a");
  a.at(1, 2) = Value::Error(HostError::NA);
  a.at(2, 1) = Value::Empty();
  a.at(2, 2) = Value::Text("format:thousands");
  const std::vector<Value> list = {Value::Text("1.5e+2"), Value::Omitted(), Value::FromArray(a),
                                   Value::Error(HostError::Div0), Value::Bool(true), Value::Text(""),
                                   Value::Number(0.25)};
  DirectiveReader d(32767);
  const std::vector<Seen> seen = Walk(list, d);
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0].text, "1.5e+2");
  EXPECT_EQ(seen[0].upper, "1.5E+2");
  EXPECT_FALSE(seen[0].in_array);
  EXPECT_EQ(seen[1].text, "a");
  EXPECT_EQ(seen[1].upper, "A");
  EXPECT_TRUE(seen[1].in_array);
  EXPECT_EQ(seen[2].upper, "#VALUE!");  // a host error inside a range
  EXPECT_TRUE(seen[2].in_array);
  EXPECT_EQ(seen[3].upper, "#VALUE!");  // and at the top level
  EXPECT_EQ(seen[4].upper, "TRUE");
  EXPECT_EQ(seen[5].text, "0.25");  // a host number as the host writes it
  EXPECT_TRUE(d.Thousands());  // the directive inside the range was gathered
}

TEST(WalkList, FirstValueAsDataAndEndingEarly) {
  const std::vector<Value> list = {Value::Empty(), Value::Text("Format:Currency"), Value::Text("format:negative"),
                                   Value::Text("x"), Value::Text("y")};
  DirectiveReader d(32767);
  decimora::frame::ListWalkOptions subject_first;
  subject_first.first_value_is_data = true;
  const std::vector<Seen> seen = Walk(list, d, subject_first);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].text, "Format:Currency");  // the subject keeps its case
  EXPECT_FALSE(d.Currency());
  EXPECT_TRUE(d.Negative());

  DirectiveReader d2(32767);
  int visits = 0;
  const std::vector<Value> stops = {Value::Text("x"), Value::Text("format:negative"), Value::Text("y")};
  EXPECT_EQ(WalkList(stops, d2, [&](const ListItem&) { return ++visits < 1; }), WalkEnd::kStopped);
  EXPECT_EQ(visits, 1);
  EXPECT_FALSE(d2.Negative());  // the walk ended before the later directive
}

// A number no cell can hold ends the walk for every list function alike;
// the texts around the limit that a cell does hold go to the visitor.
TEST(WalkList, NumberTooLongForACellEndsTheWalk) {
  const std::string cell(32767, '7');
  const std::string fraction = "0." + std::string(32765, '7');  // 32,767 characters
  for (const std::string& fits : std::vector<std::string>{cell, "-" + cell, "3E+32766", "(3E+32766)", "'3E+32766'", fraction,
                                  "." + std::string(32765, '7'), "1" + std::string(40000, '0') + "E-10000",
                                  std::string("3E+40000x"), std::string("3E+"), "1E-40000", "0." + cell}) {
    EXPECT_FALSE(IsNumberTooLongForCell(fits)) << fits.substr(0, 20) << " " << fits.size();
  }
  for (const std::string& too_long : std::vector<std::string>{cell + "1", "3E+40000", "-3E+32767", "$3E+32767",
                                                              cell + "1.5", std::string("1E+2000000000"),
                                                              "(1E+2000000000)"}) {
    EXPECT_TRUE(IsNumberTooLongForCell(too_long)) << too_long.substr(0, 20) << " " << too_long.size();
  }
  DirectiveReader d(32767);
  int visits = 0;
  const std::vector<Value> list = {Value::Text("7"), Value::Text("3e+40000"), Value::Text("format:negative")};
  EXPECT_EQ(WalkList(list, d, [&](const ListItem&) { return ++visits > 0; }), WalkEnd::kValueTooLong);
  EXPECT_EQ(visits, 1);
  EXPECT_FALSE(d.Negative());
  DirectiveReader d2(32767);
  const std::vector<Value> fitting = {Value::Text(cell), Value::Text("x")};
  EXPECT_EQ(WalkList(fitting, d2, [](const ListItem&) { return true; }), WalkEnd::kCompleted);
}

// Text functions read every value as text: a host error in a cell is the
// text it shows (one at the top level stays "#VALUE!"), and a number too
// long for a cell is only a text.
TEST(WalkList, ValuesAsText) {
  Array range(1, 2);
  range.at(1, 1) = Value::Error(HostError::NA);
  range.at(1, 2) = Value::Text("3E+40000");
  const std::vector<Value> list = {Value::Error(HostError::Div0), Value::FromArray(range)};
  DirectiveReader d(32767);
  decimora::frame::ListWalkOptions as_text;
  as_text.values_are_text = true;
  const std::vector<Seen> seen = Walk(list, d, as_text);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].text, "#VALUE!");
  EXPECT_EQ(seen[1].text, "#N/A");
  EXPECT_EQ(seen[2].text, "3E+40000");
}

TEST(ComposeListResult, NormalisesTheAccumulatorAndPassesErrorsThrough) {
  DirectiveReader d(32767);
  d.Read("format:thousands,negative");
  const auto o = d.Options();
  EXPECT_EQ(decimora::frame::ComposeListResult("-1234.50", o), "(1,234.5)");
  EXPECT_EQ(decimora::frame::ComposeListResult("1E+3", o), "1,000");
  EXPECT_EQ(decimora::frame::ComposeListResult("#NUM!", o), "#NUM!");
  EXPECT_EQ(decimora::frame::ComposeListResult("", o), "");
}

}  // namespace
