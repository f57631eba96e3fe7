// Option normalisation.
#include <gtest/gtest.h>

#include "frame/restrictionator.h"

using namespace decimora;

namespace {

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

}  // namespace
