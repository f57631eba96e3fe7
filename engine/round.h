// Significant-digit rounding, half up on the magnitude.
#pragma once

#include <string>
#include <string_view>

namespace decimora::engine {

// Rounds an unsigned number text (a digit string, or a text with one decimal
// separator) to m significant digits, half up, keeping its length: dropped
// digits become zeros (one character more when the carry runs out of the
// first digit). In a text below 1 the "0", the separator and the zeros after
// it do not count. A text whose cut lies beyond its end is returned as it
// is. "#VALUE!" when a character that must be read is not a digit. m is
// rounded to a whole number; below 1 it counts as 1.
std::string RoundToSignificant(std::string_view q, double m);

// The whole number of digits RoundToSignificant keeps for a limit m.
double SignificantLimit(double m);

// Adds one unit at index `last` of a digit text (stepping over a decimal
// separator) and returns true when the carry ran out of the first character,
// in which case the caller puts "1" in front.
bool IncrementDigitsAt(std::string& digits, std::size_t last, char separator);

}  // namespace decimora::engine
