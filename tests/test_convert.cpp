// Host conversions: doubles as the host writes them, texts to doubles.
#include <gtest/gtest.h>

#include <optional>

#include "platform/convert.h"
#include "platform/locale.h"

using namespace decimora;

namespace {

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

TEST(HostConversions, BooleansAsTheHostConvertsThem) {
  platform::SetLocaleOverrides({});
  using platform::VariantToBoolean;
  EXPECT_EQ(VariantToBoolean(Value::Bool(false)), false);
  EXPECT_EQ(VariantToBoolean(Value::Text("tRuE")), true);
  EXPECT_EQ(VariantToBoolean(Value::Text("FALSE")), false);
  EXPECT_EQ(VariantToBoolean(Value::Number(-2)), true);
  EXPECT_EQ(VariantToBoolean(Value::Text(" 0.5 ")), true);
  EXPECT_EQ(VariantToBoolean(Value::Text("0")), false);
  EXPECT_EQ(VariantToBoolean(Value::Empty()), false);
  // No Boolean: the caller decides (a default, or a failed call).
  EXPECT_EQ(VariantToBoolean(Value()), std::nullopt);
  EXPECT_EQ(VariantToBoolean(Value::Text("yes")), std::nullopt);
  EXPECT_EQ(VariantToBoolean(Value::Text("TRUE ")), std::nullopt);
  EXPECT_EQ(VariantToBoolean(Value::Error(HostError::NA)), std::nullopt);
  EXPECT_FALSE(platform::IsTrueArgument(Value()));
  EXPECT_FALSE(platform::IsTrueArgument(Value::Text("yes")));
  EXPECT_TRUE(platform::IsTrueArgument(Value::Text("-1")));
}

}  // namespace
