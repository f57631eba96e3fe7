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

}  // namespace decimora::fuzz
