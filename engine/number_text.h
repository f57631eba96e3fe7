// Number texts: the locale characters, the cleaning of any accepted input
// form into normal form (CleanUp), and the small text primitives every other
// part of the engine is built on.
//
// A number text is decimal digits with an optional sign ("-" in front, or
// enclosing parentheses), at most one locale decimal separator and an
// optional exponent written with a capital "E" (1.5E+20). Normal form: no
// leading zeros except the single "0" before the separator of a number below
// 1, no trailing fraction zeros, no separator without a fraction, "0" for
// zero (which is positive).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/cell_limits.h"
#include "engine/errors.h"

namespace decimora::engine {

// The longest digit text an exponent may expand to. A cell holds 32,767
// characters; intermediate values may be longer (1E+40000 - 1E+40000 is a
// fine 0), but a short text must never make us allocate without bound.
inline constexpr std::size_t kMaxExpandedLength = std::size_t{1} << 20;

// CleanUp rounds every input to kCleanUpDigits (engine/cell_limits.h), one
// digit more than the largest maxSD.

char GetDecimalSeparator();
// One ASCII character or a no-break space of two or three UTF-8 bytes.
std::string GetThousandsSeparator();

struct type_Currency_Symbol {
  std::string Symbol;
  std::int16_t Position = 1;  // 1 before the amount, 2 after it
};
type_Currency_Symbol GetCurrencySymbol();

// Removes matching enclosing apostrophes, then double quotes, as long as a
// pass removes a pair (a view into the text: nothing is copied).
std::string_view StripEnclosingQuotes(std::string_view text);
std::string RemoveCurrencySymbol(std::string_view text);
std::string RemoveThousandsSeparators(std::string_view text);

// Turns exponent notation into plain digits and a leading "-" or enclosing
// parentheses into a leading "-". The exponent is "+" or "-" and the digits
// of a 32-bit integer; anything else ("1E5", "1E 5") gives "#VALUE!", as
// does an exponent out of range. "#NUM!" when the expanded text (sign
// aside) would be longer than kMaxExpandedLength.
std::string ExpandExponent(std::string_view text);

// The one sign test of the whole tree: false when the number a text stands
// for is written negative ("-5", "(5)", and also "$-5", "'-5'" or
// "-$5", as the reader reads them). Cheap on long texts: only the front is
// looked at. A text that is not a number gets an answer of no meaning.
bool IsNonNegative(std::string_view text);
std::string AbsText(std::string_view text);
// *removed receives the number of characters dropped from the left.
std::string StripLeadingZeros(std::string_view text, std::size_t* removed = nullptr);
std::string TrimFractionZeros(std::string_view text);
std::string RemoveDecimalPoint(std::string_view text);
// The same three on a text of one's own, without a copy (long operands).
void StripLeadingZerosInPlace(std::string& text, std::size_t* removed = nullptr);
void TrimFractionZerosInPlace(std::string& text);
void RemoveDecimalPointInPlace(std::string& text);
std::string IntegerPart(std::string_view text);
bool HasNonDigit(std::string_view text);
bool CompareDigitStrings(std::string_view a, std::string_view b, bool or_equal, bool greater);
double MaxOf(double a, double b);

// The decimal position counted from the right end: 0 without separator, k
// when the separator is the k-th character from the right.
double DecimalPositionFromEnd(std::string_view text);

struct type_CleanUp {
  bool Positive = false;
  double DecPos = 0;
  double NumNonZeroCharsLeftOfDec = 0;
  std::string NumClean;
  bool IsError = false;
};

// Reads any accepted input form. With insert_decimal and include_sign both
// false NumClean holds only the digits of the magnitude (05 for 0.5); with
// both set it is the signed normal-form text. Invalid texts give "#NUM!",
// an unreadable exponent "#VALUE!"; the error texts pass through.
type_CleanUp CleanUp(std::string_view num, bool insert_decimal, bool include_sign);

// The reading shared by every number reader: quotes, currency symbol and
// thousands separators removed, exponent expanded, then checked. Returns
// the signed plain text ("-" in front for a negative number), or an error
// text: "#NUM!" for a text that is not a number (also one that holds no
// digit, such as "-", "()" or ".", or an unmatched parenthesis), "#VALUE!"
// for an unreadable exponent. The empty text reads as "".
std::string ReadNumberText(std::string_view text);

}  // namespace decimora::engine
