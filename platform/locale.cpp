#include "platform/locale.h"

#include <clocale>
#include <cstring>

namespace decimora::platform {

namespace {
LocaleOverrides g_overrides;

// A separator must be one printable ASCII character that cannot be confused
// with a digit or a sign; multi-byte separators (e.g. a narrow no-break
// space) are replaced by the defaults.
bool UsableSeparator(const char* s) {
  if (s == nullptr || std::strlen(s) != 1) return false;
  const unsigned char c = static_cast<unsigned char>(s[0]);
  return c > 32 && c < 127 && !(c >= '0' && c <= '9') && c != '-' && c != '#';
}
}  // namespace

void SetLocaleOverrides(const LocaleOverrides& overrides) { g_overrides = overrides; }
const LocaleOverrides& GetLocaleOverrides() { return g_overrides; }

char LocaleDecimalSeparator() {
  if (g_overrides.decimalSeparator) return *g_overrides.decimalSeparator;
  const std::lconv* lc = std::localeconv();
  if (lc != nullptr && UsableSeparator(lc->decimal_point)) return lc->decimal_point[0];
  return '.';
}

char LocaleThousandsSeparator() {
  if (g_overrides.thousandsSeparator) return *g_overrides.thousandsSeparator;
  const char decimal = LocaleDecimalSeparator();
  const std::lconv* lc = std::localeconv();
  if (lc != nullptr && UsableSeparator(lc->thousands_sep) && lc->thousands_sep[0] != decimal) {
    return lc->thousands_sep[0];
  }
  return decimal == ',' ? '.' : ',';
}

std::string LocaleCurrencySymbol() {
  if (g_overrides.currencySymbol) return *g_overrides.currencySymbol;
  const std::lconv* lc = std::localeconv();
  if (lc == nullptr || lc->currency_symbol == nullptr || lc->currency_symbol[0] == '\0') return "$";
  std::string symbol = lc->currency_symbol;
  // After the amount with a separating space: the space is part of what the
  // reader strips and the writer appends ("12.50 €").
  if (lc->p_cs_precedes == 0 && lc->p_sep_by_space == 1) symbol = std::string(" ") + symbol;
  return symbol;
}

CurrencyPlacement LocaleCurrencyPlacement() {
  if (g_overrides.currencyPlacement) return *g_overrides.currencyPlacement;
  if (g_overrides.currencySymbol) return CurrencyPlacement::Before;
  const std::lconv* lc = std::localeconv();
  if (lc == nullptr || lc->currency_symbol == nullptr || lc->currency_symbol[0] == '\0') {
    return CurrencyPlacement::Before;
  }
  return lc->p_cs_precedes == 0 ? CurrencyPlacement::After : CurrencyPlacement::Before;
}

}  // namespace decimora::platform
