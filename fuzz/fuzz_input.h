// What every harness shares: the locale settings an input chooses, a private
// settings store, and the check that stops a run on a broken promise.
//
// An input may start with a settings line, ended by the first newline:
//
//   D T P CURRENCY\n    e.g. ",.a €\n" = decimal ",", thousands ".",
//                       currency " €" written after the amount
//
// D and T are single characters (T = \x01 stands for the no-break space
// U+00A0, \x02 for U+202F), P is "a" (after) or anything else (before), and
// the rest of the line is the currency symbol. A setting the command line
// would refuse is replaced by the default, so every setting the fuzzer
// reaches is one a user could make. An input without a newline is read with
// the C locale's characters (".", ",", "$" before), so a formula from the test
// vectors is a valid seed as it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/locale.h"

namespace decimora::fuzz {

struct Input {
  platform::LocaleOverrides locale;
  std::string_view body;  // what follows the settings line (the whole input without one)
  // True when every locale character is an ordinary choice that cannot be
  // mistaken for number syntax; only then do the harnesses check properties
  // that depend on the text being unambiguous.
  bool plainLocale = true;
};

// Splits the input and decodes its settings line (see above).
Input ReadInput(const std::uint8_t* data, std::size_t size);

// Installs the input's locale characters for the next calculation.
void ApplyLocale(const Input& input);

// Points XDG_CONFIG_HOME at a fresh temporary folder (removed at exit), so
// no harness reads or writes the user's settings. Call once, first.
void UsePrivateSettingsStore();

// Reports a broken property with the input's body and stops the run, so the
// fuzzer saves the input as a crash.
[[noreturn]] void Fail(std::string_view what, std::string_view body, std::string_view detail = {});

// The longest text a cell holds.
inline constexpr std::size_t kCellLength = 32767;

// dcmPI and dcmE answer the stored text cut to the digits asked for: at
// 32,767 digits that is the leading digit, the separator and 32,766 decimals,
// one character more than a cell, as the constants are defined. The cell
// bound is not theirs to keep.
inline bool ReturnsStoredConstant(std::string_view name) {
  const auto same = [&](std::string_view w) {
    if (name.size() != w.size()) return false;
    for (std::size_t i = 0; i < w.size(); ++i) {
      char c = name[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      char d = w[i];
      if (d >= 'a' && d <= 'z') d = static_cast<char>(d - 'a' + 'A');
      if (c != d) return false;
    }
    return true;
  };
  return same("dcmPI") || same("dcmE");
}

// A root of a degree with many digits, or a power whose exponent has many
// decimals (a root of that many digits' degree raised to a long numerator),
// nests a root iteration inside every Newton step: seconds to minutes of
// legitimate work under the sanitizers, not a fault. The bounded run steps
// around formulas that call a root or a power and hold a digit run longer
// than 12 digits (a campaign may keep them and count them as slow).
inline bool IsKnownSlowPath(std::string_view body) {
  std::string upper(body);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.find("ROOT") == std::string::npos && upper.find("POWER") == std::string::npos) return false;
  std::size_t run = 0;
  for (char c : upper) {
    run = (c >= '0' && c <= '9') ? run + 1 : 0;
    if (run > 12) return true;
  }
  return false;
}

}  // namespace decimora::fuzz
