// Locale characters as the engine sees them. They are looked up at every use
// (never cached), so a change of locale or of the overrides applies to the
// next calculation. Command-line overrides win over the POSIX locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace decimora::platform {

enum class CurrencyPlacement { Before = 1, After = 2 };

struct LocaleOverrides {
  std::optional<char> decimalSeparator;
  // One ASCII character, or a no-break space (U+00A0 or U+202F) in UTF-8.
  std::optional<std::string> thousandsSeparator;
  std::optional<std::string> currencySymbol;
  std::optional<CurrencyPlacement> currencyPlacement;
};

// Process-wide; the calculation runs on one thread.
void SetLocaleOverrides(const LocaleOverrides& overrides);
const LocaleOverrides& GetLocaleOverrides();

// From LC_NUMERIC; "." when the locale gives nothing usable (one ASCII byte).
char LocaleDecimalSeparator();
// From LC_NUMERIC; "," where the locale defines none (the C locale), or "."
// when the decimal separator already is ",". A space, and the no-break
// spaces U+00A0 and U+202F (as UTF-8) that many locales group with, are kept.
std::string LocaleThousandsSeparator();

// The no-break spaces a thousands separator may be, in UTF-8.
inline constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
inline constexpr std::string_view kNarrowNoBreakSpace = "\xE2\x80\xAF";
// From LC_MONETARY: the symbol as it is written next to an amount. When it
// follows the amount with a space, the space belongs to the symbol (" €").
// "$" before the amount where the locale defines none.
std::string LocaleCurrencySymbol();
CurrencyPlacement LocaleCurrencyPlacement();

}  // namespace decimora::platform
