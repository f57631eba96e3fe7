// Division of digit strings: the reciprocal by a truncated Newton iteration
// (myInverse5), the quotient built on it (Osrel_Divide), the half-up rounding
// of number text to a count of significant digits (RoundToMaxSD), and the
// small helpers that travel with them.
//
// The digits these routines return are part of the system's contract: the
// reciprocal is the fixed point the iteration reaches from below (a last
// digit can stay one unit low), and the quotient's rounding position moves
// right past trailing zeros. myInverse5 reaches the same digits by one exact
// division wherever that is provably the same answer (see division.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/natural.h"
#include "platform/variant.h"

namespace decimora::engine {

// digits (no sign, no separator, most significant first) times 10 to the
// power powerOfTen; or an error text in digits with powerOfTen 0.
struct type_Division_Osrel {
  std::string digits;
  std::int32_t powerOfTen = 0;
};

// The longest reciprocal or quotient a caller may ask for (digits).
inline constexpr std::int32_t kMaxDivisionDigits = 1 << 20;

// iBig / kBig to Precision significant digits. Both are read with CleanUp
// (an error text passes through as digits); a zero divisor gives "#DIV/0!";
// a divisor of exactly "1" returns the whole dividend. Precision below 1 or
// above kMaxDivisionDigits gives "#NUM!".
type_Division_Osrel Osrel_Divide(std::string& iBig, std::string& kBig, std::int32_t Precision);

// Osrel_Divide(iBig, kBig, Precision) with iBig the digits of a and kBig
// those of a divisor k below 2^32: the same answer, in time linear in a's
// digits wherever the reciprocal of k comes from the direct path (nearly
// always). The product of a by that reciprocal has a closed form there, of
// which only the leading digits are formed (see division.cpp). A dividend
// longer than CleanUp keeps goes the string way.
type_Division_Osrel Osrel_DivideSmall(const Natural& a, std::uint32_t k, std::int32_t Precision);
// The same answer with the digits as a natural (zero for the quotient "0"),
// or an error text.
struct SmallQuotient {
  Natural digits;
  std::int32_t powerOfTen = 0;
  std::string error;
};
SmallQuotient Osrel_DivideSmallDigits(const Natural& a, std::uint32_t k, std::int32_t Precision);

// About p significant digits of 1 / kBig (p digits, or "1" for kBig = 1).
// kBig is an unsigned digit string; leading zeros are read as the number they
// write. Zero gives "#DIV/0!" (as Osrel_Divide does); a text that is not a
// digit string gives "#VALUE!"; p below 1 or above kMaxDivisionDigits "#NUM!".
type_Division_Osrel myInverse5(std::string_view kBig, std::int32_t p);

// The same, computed by the literal iteration only (no shortcut). Public for
// the tests and the measurements; the answers are identical.
type_Division_Osrel myInverse5_Iterate(std::string_view kBig, std::int32_t p);

// Whether myInverse5 of a divisor k of at most nine digits (K of them) at
// p digits takes its direct path, answering floor((10^(K+p+1) - 1) / (100 k))
// with the power of ten -(p + K - 1); decided in time logarithmic in p,
// without the quotient. False means the iteration answers (its digits may
// be the same).
bool InverseIsDirect(std::uint32_t k, std::int32_t p);

// Counts of the two ways myInverse5 took since the program started (for the
// measurements; not thread-safe, nothing depends on them).
struct InverseStatistics {
  std::uint64_t direct = 0;
  std::uint64_t iterated = 0;
};
InverseStatistics GetInverseStatistics();

// Rounds number text half up to maxSD significant digits, working on the
// characters: the rounding position counts a "0" before the separator and
// the zeros after it in a number below 1, and moves right past the trailing
// zeros of an integer (123450 to 3 digits gives 123500). maxSD below 1 gives
// "0"; the three error texts pass through; a text that cannot be read gives
// the empty text.
std::string RoundToMaxSD(std::string_view text, double maxSD);

// The estimated number of integer digits of dividend / divisor (two unsigned
// digit strings), as the dispatcher records it for a division.
double DivisionDecimalPosition(std::string_view divisor, std::string_view dividend);

// num_as_long / 2 rounded down (7 gives 3, -7 gives -4).
std::int32_t GetHalfofLong(std::int32_t num_as_long);

// The smaller (Min) or larger (Max) of two values: num1 when it is strictly
// smaller (larger), else num2. Numbers, Booleans (TRUE is -1) and empty cells
// compare as numbers; two texts compare character by character (binary
// order); a number is smaller than any text. A host error or an array gives
// the host error #VALUE!.
Value Min(const Value& num1, const Value& num2);
Value Max(const Value& num1, const Value& num2);

}  // namespace decimora::engine
