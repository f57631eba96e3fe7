// The locale stand-in's defaults and the separator rule.
#include <gtest/gtest.h>

#include "platform/locale.h"

using namespace decimora;

namespace {

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
