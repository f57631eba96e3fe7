// The stored constants pi, e, ln 2 and ln 10, cut to length, and the
// mantissa/exponent workers. Every function that needs one of the constants
// cuts it here; none computes it.
//
// The cut (Get_Pi, Get_E, Get_Ln2, Get_Ln10):
// - the full text is the leading digit, the locale's decimal separator (read
//   at every call) and the stored decimals;
// - n = digits + 1, rounded to the nearest whole number, ties to even;
// - the result is the first n characters: the cut truncates, never rounds,
//   and the separator counts as one of the n characters. So pi, e and ln 10
//   come with `digits` significant digits, ln 2 (leading "0") with
//   `digits` - 1:  Get_Pi(5) = "3.1415", Get_Ln2(10) = "0.693147180",
//   Get_Pi(0) = "3", Get_Pi(1) = "3.", Get_Pi(-1) = "";
// - n beyond the stored text gives the whole text.
// Errors: "#NUM!" when digits exceeds the request limit (32,768 for pi and
// e, 40,051 for ln 2 and ln 10); "#VALUE!" when digits is not a number or
// makes n negative (digits below -1.5).
//
// Stored: pi and e 32,766 decimals, the last rounded half up on the digits
// that follow (pi ends in ...30962); ln 2 40,050 and ln 10 41,000 decimals,
// truncated.
#pragma once

#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::functions {

inline constexpr double kPiERequestLimit = 32768;
inline constexpr double kLogRequestLimit = 40051;

std::string Get_Pi(double digits);
std::string Get_E(double digits);
std::string Get_Ln2(double digits);
std::string Get_Ln10(double digits);

// --- Worksheet functions ------------------------------------------------------
// digits omitted: DefaultMaxSD; above 32,767: 32,767. The cut text as it is,
// unformatted (a trailing separator stays). The host error #VALUE! when
// digits is not a number or is below -1.5.
Value dcmPI(const Value& digits = {});
Value dcmE(const Value& digits = {});

// --- Mantissa and exponent ----------------------------------------------------
// A non-negative plain number text v (no sign, grouping or exponent part; not
// checked) read as 0.m times 10^x, with m its digits without the separator
// and leading zeros.

// "0.m" with the locale's separator, or "m" when as_integer is true.
// 123.45 -> 0.12345 (12345), 0.00123 -> 0.123 (123), 0 -> "0." ("").
std::string Get_Mantissa(std::string_view num, bool as_integer = false);
// x written as a whole number: 0.5 -> 0, 0.05 -> -1, 5 -> 1, 500.25 -> 3,
// 12000 -> 5, 0 -> 0.
std::string Get_Exponent(std::string_view num);
// The same x as a number, for internal callers.
long long Get_Exponent_Value(std::string_view num);
// mantissa (a double, locale separator) times 10^exponent (a 32-bit whole
// number, halves to even) in double precision, written as the host writes a
// double (15 significant digits). A floating-point check, not exact
// arithmetic. "#VALUE!" when either does not convert or the result is not a
// finite double.
std::string Combine_Mantissa_And_Exponent(std::string_view mantissa, std::string_view exponent);
// Combine_Mantissa_And_Exponent(Get_Mantissa(num), Get_Exponent(num)):
// num back to double precision.
std::string Test_Mantissa_And_Exponent(std::string_view num);

// The same four for host values: a value with no text (omitted, a host error,
// an array) gives the host error #VALUE!, as does a conversion failure.
Value Get_Mantissa(const Value& num, const Value& as_integer = {});
Value Get_Exponent(const Value& num);
Value Combine_Mantissa_And_Exponent(const Value& mantissa, const Value& exponent);
Value Test_Mantissa_And_Exponent(const Value& num);

}  // namespace decimora::functions
