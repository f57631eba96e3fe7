// Conversions between host values and text, with the semantics the worksheet
// functions rely on (how the host writes a double, what "equal to 2" or
// "equals TRUE" means for a value of any kind).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::platform {

// A double as the host writes it: at most 15 significant digits, the locale
// decimal separator, and "E+"/"E-" with at least two exponent digits for
// very large or small magnitudes (1E+15, 1.5E-05). Not finite: nullopt.
std::optional<std::string> FormatHostNumber(double d);

// The text of a value: text as is, a number as above, a Boolean as
// True/False, an empty cell as "". Omitted, host errors and arrays have no
// text (nullopt): the caller fails.
std::optional<std::string> VariantToText(const Value& v);

// Text to double as the host reads it: surrounding spaces, a sign or
// parentheses, thousands separators, the locale decimal separator and an
// exponent (E or e) are accepted. nullopt when it is not a number.
std::optional<double> TextToDouble(std::string_view text);

// A value as a double: numbers, Booleans (TRUE is -1), empty (0) and numeric
// texts convert; anything else gives nullopt.
std::optional<double> VariantToDouble(const Value& v);

// "equal to n" as the host compares a value with a number: false when the
// value cannot be compared numerically.
bool EqualsNumber(const Value& v, double n);

// "equals TRUE": the Boolean true, or anything that compares equal to -1
// (the number -1, the text TRUE in any letter case, the text -1).
bool EqualsTrue(const Value& v);

// A value as the host converts it to a Boolean: a Boolean as it is, the text
// TRUE or FALSE in any letter case, an empty cell as FALSE, a number or the
// text of one as nonzero. nullopt for anything else (omitted, other texts,
// host errors, arrays): the caller chooses a default or fails the call.
std::optional<bool> VariantToBoolean(const Value& v);

// A Boolean flag argument: VariantToBoolean, and FALSE where it gives none
// (omitted included).
bool IsTrueArgument(const Value& v);

}  // namespace decimora::platform
