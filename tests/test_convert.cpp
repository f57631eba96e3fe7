// Host conversions: doubles as the host writes them, texts to doubles.
#include <gtest/gtest.h>

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

}  // namespace
