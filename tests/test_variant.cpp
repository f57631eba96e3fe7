// Value: every kind across copies, moves and assignment.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/variant.h"

using namespace decimora;

namespace {

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

}  // namespace
