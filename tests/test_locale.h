// A fixture that pins the locale characters to ".", "," and "$" before the
// amount, whatever the machine's locale, and lets them go afterwards.
#pragma once

#include <gtest/gtest.h>

#include "platform/locale.h"

namespace decimora::testing {

class DefaultLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::LocaleOverrides o;
    o.decimalSeparator = '.';
    o.thousandsSeparator = ",";
    o.currencySymbol = "$";
    o.currencyPlacement = platform::CurrencyPlacement::Before;
    platform::SetLocaleOverrides(o);
  }
  void TearDown() override { platform::SetLocaleOverrides({}); }
};

}  // namespace decimora::testing
