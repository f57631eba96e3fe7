// functions/order.cpp: the fast sorts against literal transcriptions of the
// selection sort and of the frequency table's exchange sort, on thousands of
// random small blocks (ties spelled differently, texts, Booleans, host
// errors, empty cells), and the frequency table written into a block.
#include "functions/order.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "frame/calculate.h"
#include "platform/convert.h"

namespace {

using decimora::Array;
using decimora::HostError;
using decimora::Value;
namespace fn = decimora::functions;
namespace frame = decimora::frame;

std::string TextOf(const Value& v) {
  const auto t = decimora::platform::VariantToText(v);
  return t ? *t : std::string("#N/A");  // a host error: no number reader takes it
}

// The selection sort as written: step i exchanges the cell at i with the
// first-met extreme number at or after i; a candidate that is not a number is
// passed over (an empty one becomes the empty text).
void LiteralSort(std::vector<Value>& a, bool descending) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::size_t best = i;
    for (std::size_t j = i; j < a.size(); ++j) {
      const std::string candidate = TextOf(a[j]);
      const std::string current = TextOf(a[best]);
      const Value answer = descending ? frame::CompareNumbers(candidate, current, false, true)
                                      : frame::CompareNumbers(current, candidate, false, true);
      if (answer.isBool()) {
        if (answer.boolean()) best = j;
      } else if (!frame::IsNumberText(candidate)) {
        if (a[j].isEmpty()) a[j] = Value::Text("");
      } else {
        best = j;
      }
    }
    std::swap(a[i], a[best]);
  }
}

// Cells with many ways to tie: the same number spelled differently, numbers
// held as host doubles, and every kind of value that is not a number.
Value RandomCell(std::mt19937& rng) {
  static const char* const kTexts[] = {"2",   "2.0", "02",   "2E0",  "-1",  "-1.00", "1.5", "1.50", ".5",
                                       "0.5", "0",   "-0",   "10",   "1E1", "abc",   "",    "1e3", "#NUM!",
                                       "-",   "3",   "-2.5", "1E+2", "100", "99.99", "x1",
                                       // ties and near-ties past the first dozen digits
                                       "123456789012.345", "123456789012.3451", "123456789012.34500",
                                       "-123456789012.345", "-123456789012.3451", "0.0000000000001",
                                       "0.00000000000012"};
  const std::size_t pick = rng() % 40;
  if (pick < std::size(kTexts)) return Value::Text(kTexts[pick]);
  switch (pick % 4) {
    case 0: return Value::Empty();
    case 1: return Value::Bool(rng() % 2 == 0);
    case 2: return Value::Error(HostError::NA);
    default: return Value::Number(static_cast<double>(rng() % 5) / 2);
  }
}

Array RandomBlock(std::mt19937& rng) {
  Array block(1 + rng() % 4, 1 + rng() % 4);
  for (Value& cell : block.cells) cell = RandomCell(rng);
  return block;
}

std::vector<Value> DownCells(const Array& block) {
  std::vector<Value> cells;
  for (std::size_t c = 1; c <= block.cols; ++c) {
    for (std::size_t r = 1; r <= block.rows; ++r) cells.push_back(block.at(r, c));
  }
  return cells;
}

TEST(Order, SortsAsTheSelectionSortInBothReadingOrders) {
  std::mt19937 rng(11);
  for (int round = 0; round < 2500; ++round) {
    const Array block = RandomBlock(rng);
    const bool descending = round % 2 == 0;

    Array down = block;
    fn::Sort_Function(down, descending);
    std::vector<Value> expected = DownCells(block);
    LiteralSort(expected, descending);
    ASSERT_EQ(DownCells(down), expected) << "round " << round;

    Array across = block;
    fn::SortAcross_Function(across, descending);
    expected = block.cells;
    LiteralSort(expected, descending);
    ASSERT_EQ(across.cells, expected) << "round " << round;
  }
}

TEST(Order, LargeSmallAndRankAreTheSortedBlocksCells) {
  std::mt19937 rng(12);
  for (int round = 0; round < 1000; ++round) {
    const Array block = RandomBlock(rng);
    const std::size_t cells = block.cells.size();
    for (const bool smallest : {false, true}) {
      std::vector<Value> sorted = DownCells(block);
      LiteralSort(sorted, !smallest);
      for (std::size_t k = 1; k <= cells; ++k) {
        const std::string text = TextOf(sorted[k - 1]);
        const std::string expected = frame::IsNumberText(text) ? text : "#NUM!";
        ASSERT_EQ(fn::LargeSmall_Function(block, Value::Text(std::to_string(k)), smallest), expected);
      }
    }
    // The rank as written: walk the sorted cells counting the run of equal
    // values, stop where it ends.
    const std::string num = TextOf(RandomCell(rng));
    if (!frame::IsNumberText(num)) {
      ASSERT_EQ(fn::Rank_Function(num, block, false, false), "#NUM!");
      continue;
    }
    for (const bool ascending : {false, true}) {
      std::vector<Value> sorted = DownCells(block);
      LiteralSort(sorted, !ascending);
      double rank = 0;
      double ties = -1;
      for (const Value& cell : sorted) {
        const Value eq = frame::CompareNumbers(num, TextOf(cell), true, false);
        if (eq.isBool() && eq.boolean()) {
          ties += 1;
        } else if (ties >= 0) {
          break;
        }
        rank += 1;
      }
      if (ties > 0) rank -= ties;
      for (const bool compensate : {false, true}) {
        const double r = compensate ? rank + ties / 2 : rank;
        std::string expected = std::to_string(static_cast<long>(r));
        if (r != static_cast<long>(r)) expected += ".5";
        ASSERT_EQ(fn::Rank_Function(num, block, ascending, compensate), expected) << num;
      }
    }
  }
}

TEST(Order, CountOrderIsTheExchangeSort) {
  std::mt19937 rng(13);
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::size_t> counts(rng() % 40);
    for (std::size_t& c : counts) c = 1 + rng() % (1 + round % 7);
    std::vector<std::size_t> expected(counts.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    for (std::size_t w = 0; w < expected.size(); ++w) {
      for (std::size_t i = w + 1; i < expected.size(); ++i) {
        if (counts[expected[i]] > counts[expected[w]]) std::swap(expected[i], expected[w]);
      }
    }
    ASSERT_EQ(fn::CountOrder(counts), expected) << "round " << round;
  }
}

TEST(Order, KeysReadExactlyTheNumbers) {
  std::mt19937 rng(14);
  for (int round = 0; round < 2000; ++round) {
    const std::string text = TextOf(RandomCell(rng)) + (round % 3 == 0 ? TextOf(RandomCell(rng)) : "");
    EXPECT_EQ(frame::ReadNumberKey(text).has_value(), frame::IsNumberText(text)) << text;
  }
  EXPECT_EQ(frame::ReadNumberKey("1.50"), frame::ReadNumberKey("1.5"));
  EXPECT_EQ(frame::ReadNumberKey("-0"), frame::ReadNumberKey("0"));
}

TEST(Order, ModeTableFillsTheGivenBlock) {
  const std::vector<Value> list = {Value::Text("1"), Value::Text("2"), Value::Text("2"),
                                   Value::Text("FORMAT:TABLE,BLANK=-&x")};
  const Value table = fn::Mode_Function(list, 3, 2);
  ASSERT_TRUE(table.isArray());
  const Array& a = table.array();
  ASSERT_EQ(a.rows, 3u);
  ASSERT_EQ(a.cols, 2u);
  EXPECT_EQ(a.at(1, 1), Value::Text("2"));
  EXPECT_EQ(a.at(1, 2), Value::Text("2"));
  EXPECT_EQ(a.at(2, 1), Value::Text("1"));
  EXPECT_EQ(a.at(3, 1), Value::Text("-"));
  EXPECT_EQ(a.at(3, 2), Value::Text("-"));
  // Without the block the table is returned as it is.
  EXPECT_EQ(fn::Mode_Function(list).array().rows, 2u);
}

}  // namespace
