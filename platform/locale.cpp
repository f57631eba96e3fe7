#include "platform/locale.h"

#include <climits>
#include <cstring>

#include <langinfo.h>

namespace decimora::platform {

namespace {
LocaleOverrides g_overrides;

// A separator must be one printable ASCII character that cannot be confused
// with a digit or a sign. A space may group thousands (as may the no-break
// spaces, checked where the thousands separator is read); other multi-byte
// separators are replaced by the defaults.
bool UsableSeparator(const char* s, bool thousands = false) {
  if (s == nullptr || std::strlen(s) != 1) return false;
  const unsigned char c = static_cast<unsigned char>(s[0]);
  if (c == ' ') return thousands;
  return c > 32 && c < 127 && !(c >= '0' && c <= '9') && c != '-' && c != '#';
}
}  // namespace

void SetLocaleOverrides(const LocaleOverrides& overrides) { g_overrides = overrides; }
const LocaleOverrides& GetLocaleOverrides() { return g_overrides; }

// nl_langinfo reads the current locale's data in place; unlike localeconv it
// copies nothing, which matters as the engine asks at every use.
char LocaleDecimalSeparator() {
  if (g_overrides.decimalSeparator) return *g_overrides.decimalSeparator;
  const char* radix = nl_langinfo(RADIXCHAR);
  return UsableSeparator(radix) ? radix[0] : '.';
}

std::string LocaleThousandsSeparator() {
  if (g_overrides.thousandsSeparator) return *g_overrides.thousandsSeparator;
  const char decimal = LocaleDecimalSeparator();
  const char* sep = nl_langinfo(THOUSEP);
  if (UsableSeparator(sep, true) && sep[0] != decimal) return std::string(1, sep[0]);
  if (sep != nullptr && (sep == kNoBreakSpace || sep == kNarrowNoBreakSpace)) return sep;
  return decimal == ',' ? "." : ",";
}

namespace {
bool LocaleHasCurrency() {
  const char* symbol = nl_langinfo(CURRENCY_SYMBOL);
  return symbol != nullptr && symbol[0] != '\0';
}
// The first byte of a monetary flag item (0, 1, or CHAR_MAX when unset).
int MonetaryFlag(nl_item item) {
  const char* flag = nl_langinfo(item);
  return flag != nullptr ? static_cast<unsigned char>(flag[0]) : CHAR_MAX;
}
}  // namespace

std::string LocaleCurrencySymbol() {
  if (g_overrides.currencySymbol) return *g_overrides.currencySymbol;
  if (!LocaleHasCurrency()) return "$";
  std::string symbol = nl_langinfo(CURRENCY_SYMBOL);
  // After the amount with a separating space: the space is part of what the
  // reader strips and the writer appends ("12.50 €").
  if (MonetaryFlag(P_CS_PRECEDES) == 0 && MonetaryFlag(P_SEP_BY_SPACE) == 1) symbol = std::string(" ") + symbol;
  return symbol;
}

CurrencyPlacement LocaleCurrencyPlacement() {
  if (g_overrides.currencyPlacement) return *g_overrides.currencyPlacement;
  if (g_overrides.currencySymbol || !LocaleHasCurrency()) return CurrencyPlacement::Before;
  return MonetaryFlag(P_CS_PRECEDES) == 0 ? CurrencyPlacement::After : CurrencyPlacement::Before;
}

}  // namespace decimora::platform
