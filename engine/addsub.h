// Exact addition and subtraction of digit strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace decimora::engine {

struct type_Subtraction {
  std::string Difference;
  bool NegativeSubtraction = false;
};

// a + b on digit strings of any lengths; leading zeros of the inputs stay.
// Throws ConversionFailure on a non-digit.
std::string AddDigitStrings(std::string_view a, std::string_view b);

// |a - b| without leading zeros, and whether b was the larger one. The
// inputs must not carry leading zeros (length decides first). Throws
// ConversionFailure on a non-digit.
type_Subtraction SubtractDigitStrings(std::string_view a, std::string_view b, bool prefix_minus);

}  // namespace decimora::engine
