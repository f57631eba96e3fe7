#include "fuzz/fuzz_input.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace decimora::fuzz {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal separators the command line accepts.
bool UsableDecimal(char c) {
  if (c <= 32 || c >= 127 || IsDigit(c)) return false;
  return std::string_view("-+#()Ee\"").find(c) == std::string_view::npos;
}

// The thousands separator a settings-line character stands for: the same
// characters, a space, and the no-break spaces (\x01 U+00A0, \x02 U+202F).
std::string Thousands(char c) {
  if (c == '\x01') return std::string(platform::kNoBreakSpace);
  if (c == '\x02') return std::string(platform::kNarrowNoBreakSpace);
  if (c == ' ' || UsableDecimal(c)) return std::string(1, c);
  return {};
}

// What the command line accepts as a currency symbol with these separators.
bool UsableCurrency(std::string_view symbol, char decimal, std::string_view thousands) {
  return !symbol.empty() && symbol.find_first_of("0123456789#-+()") == std::string_view::npos &&
         symbol.find_first_not_of("E \t") != std::string_view::npos &&
         symbol.find(decimal) == std::string_view::npos && symbol.find(thousands) == std::string_view::npos;
}

// Whether a currency symbol could be taken for part of a number.
bool PlainCurrency(std::string_view symbol) {
  if (!symbol.empty() && symbol.front() == ' ') symbol.remove_prefix(1);  // " €" is a usual form
  return !symbol.empty() && symbol.find_first_of(".,-+()Ee'\"# \t") == std::string_view::npos;
}

std::string g_store;

void RemoveStore() {
  std::error_code ec;
  if (!g_store.empty()) std::filesystem::remove_all(g_store, ec);
}

}  // namespace

Input ReadInput(const std::uint8_t* data, std::size_t size) {
  Input in;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  in.locale.decimalSeparator = '.';
  in.locale.thousandsSeparator = ",";
  in.locale.currencySymbol = "$";
  in.locale.currencyPlacement = platform::CurrencyPlacement::Before;
  const std::size_t nl = all.find('\n');
  if (nl == std::string_view::npos) {
    in.body = all;
    return in;
  }
  const std::string_view line = all.substr(0, nl);
  in.body = all.substr(nl + 1);

  char decimal = line.size() > 0 ? line[0] : '.';
  if (!UsableDecimal(decimal)) decimal = '.';
  std::string thousands = Thousands(line.size() > 1 ? line[1] : ',');
  if (thousands.empty() || thousands == std::string(1, decimal)) thousands = decimal == ',' ? "." : ",";
  const bool after = line.size() > 2 && line[2] == 'a';
  std::string currency(line.size() > 3 ? line.substr(3) : std::string_view());
  if (!UsableCurrency(currency, decimal, thousands)) currency = "$";
  if (!UsableCurrency(currency, decimal, thousands)) currency = "\xC2\xA4";  // the generic sign

  in.locale.decimalSeparator = decimal;
  in.locale.currencyPlacement = after ? platform::CurrencyPlacement::After : platform::CurrencyPlacement::Before;
  const bool plainThousands = thousands == "," || thousands == "." || thousands == "'" || thousands == " " ||
                              thousands == platform::kNoBreakSpace || thousands == platform::kNarrowNoBreakSpace;
  in.plainLocale = (decimal == '.' || decimal == ',') && plainThousands && PlainCurrency(currency);
  in.locale.thousandsSeparator = std::move(thousands);
  in.locale.currencySymbol = std::move(currency);
  return in;
}

void ApplyLocale(const Input& input) { platform::SetLocaleOverrides(input.locale); }

void UsePrivateSettingsStore() {
  if (!g_store.empty()) return;
  std::string pattern = (std::filesystem::temp_directory_path() / "decimora-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  g_store = pattern;
  setenv("XDG_CONFIG_HOME", g_store.c_str(), 1);
  std::atexit(RemoveStore);
}

void Fail(std::string_view what, std::string_view body, std::string_view detail) {
  constexpr std::size_t kShown = 400;
  const auto shorten = [](std::string_view s) {
    std::string out(s.substr(0, kShown));
    if (s.size() > kShown) out += "... (" + std::to_string(s.size()) + " characters)";
    return out;
  };
  std::fprintf(stderr, "\n== fuzz property broken: %.*s\n   input: %s\n", static_cast<int>(what.size()), what.data(),
               shorten(body).c_str());
  if (!detail.empty()) std::fprintf(stderr, "   %s\n", shorten(detail).c_str());
  std::abort();
}

}  // namespace decimora::fuzz
