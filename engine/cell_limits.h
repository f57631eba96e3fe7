// The limits a worksheet cell sets, in one place. Every other bound on
// lengths and significant digits is derived from these.
#pragma once

#include <cstddef>

namespace decimora::engine {

// The characters a cell holds.
inline constexpr std::size_t kCellCharacters = 32767;

// The largest maximum of significant digits a call may ask for: a cell's
// characters.
inline constexpr double kMaxSignificantDigits = static_cast<double>(kCellCharacters);

// An integer part of this many digits never fits a cell (with room for
// nothing else): the composer answers "#NUM!" for it, so work that would
// produce one can stop early.
inline constexpr std::size_t kIntegerDigitsLimit = kCellCharacters + 1;

// The significant digits the cleaning of an operand keeps: one more than a
// cell shows, so that a rounding of a full cell still sees its deciding digit.
inline constexpr double kCleanUpDigits = static_cast<double>(kCellCharacters + 1);

// Whether operands of `digits` digits in all (without signs and separators)
// are more than a user's call may hand the power: half a cell (16,383 digits
// pass, 16,384 do not), so that twice their digits still fit one. More is
// "#NUM!".
constexpr bool ExceedsInputDigits(double digits) { return digits + digits > static_cast<double>(kCellCharacters); }

}  // namespace decimora::engine
