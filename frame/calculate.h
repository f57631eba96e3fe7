// The arithmetic dispatcher behind the operator functions, and the number
// test and exact comparison built on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::frame {

// One two-operand operation on number texts (codes: 1 add, 2 subtract,
// 3 multiply, 4 divide, 5 root, 6 power). Error texts of the operands pass
// through; an operand that is not a number gives "#VALUE!". The result
// carries up to maxSD + 2 significant digits. With internal_call set no
// fixed decimal places are applied (intermediate values of other functions).
std::string Calculate(std::int16_t code, const Value& number1, const Value& number2,
                      const Value& format_negative, const Value& format_thousands, const Value& format_currency,
                      const Value& exponential_notation, const Value& maximum_significant_digits,
                      bool internal_call, bool restrict_input = true, const Value& extra = {},
                      const Value& format_decimal_place = {}, const Value& preserve_decimal_place = {});

// Calculate for other functions of the system: two texts, only a maxSD,
// internal-call flag set.
std::string CalculateText(std::int16_t code, std::string_view a, std::string_view b, double maxSD);

// Whether a text reads as a number (the number test of the comparisons).
bool IsNumberText(std::string_view text);

// A number text as the exact comparison sees it: two texts compare equal
// exactly when their keys are equal, so a key serves where equal values
// must be found (a frequency table) or ordered many times (a sort).
struct NumberKey {
  bool negative = false;            // zero is not negative
  std::size_t integer_digits = 0;   // digits before the separator (0 below 1)
  std::string digits;               // "0", the integer and fraction digits, no trailing zeros, at most 32,767 significant

  bool operator==(const NumberKey&) const = default;
};

// The key of a text, or nullopt where the comparison answers an error value
// (the text is not a number).
std::optional<NumberKey> ReadNumberKey(std::string_view text);

// -1, 0 or 1 as a is less than, equal to or greater than b.
int CompareNumberKeys(const NumberKey& a, const NumberKey& b);

// Exact comparison of two number texts: (or_equal, greater) = (true, false)
// asks a = b, (false, true) a > b, (true, true) a >= b. The answer is a
// Boolean Value, or the Text of an error value ("#NUM!" for a text that is
// not a number).
Value CompareNumbers(std::string_view a, std::string_view b, bool or_equal, bool greater);

}  // namespace decimora::frame
