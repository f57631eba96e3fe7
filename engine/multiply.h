// Exact products of unsigned digit strings: the engine's one multiplication.
#pragma once

#include <string>
#include <string_view>

namespace decimora::engine {

// The exact product of two unsigned integer digit strings, most significant
// digit first, no leading zeros. Either operand empty or exactly "0" gives "0"
// (only those exact texts: "00" is read as a number like any other and gives
// "0" too, by multiplication). A character other than '0'..'9' in an operand
// gives "#VALUE!".
std::string MultiplyDigitStrings(std::string_view operand1, std::string_view operand2);

// The native routine behind MultiplyDigitStrings, with the work-buffer
// contract: `buffer` holds 2 * max(len1, len2) characters on entry (spaces);
// on return its first characters are the product's digits without leading
// zeros ("0" for a zero product) and the rest is left as it was. The operands
// are not changed. Returns false, leaving the buffer untouched, when an
// operand holds a non-digit or the buffer is too short for the product.
bool Multiply(std::string_view operand1, std::string_view operand2, std::string& buffer);

}  // namespace decimora::engine
