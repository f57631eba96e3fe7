// The arithmetic dispatcher behind the operator functions, and the number
// test and exact comparison built on it.
#pragma once

#include <cstdint>
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

// Exact comparison of two number texts: (or_equal, greater) = (true, false)
// asks a = b, (false, true) a > b, (true, true) a >= b. The answer is a
// Boolean Value, or the Text of an error value ("#NUM!" for a text that is
// not a number).
Value CompareNumbers(std::string_view a, std::string_view b, bool or_equal, bool greater);

}  // namespace decimora::frame
