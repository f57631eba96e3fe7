// Decimal numbers on limbs: the value the arithmetic steps carry between
// them, so that a chain of operations reads its operands once and writes
// its result once instead of going through text at every step.
//
// A Decimal is sign * coef / 10^frac with coef a Natural (base 10^9 limbs)
// and frac >= 0 the digits after the separator. In normal form (what every
// function here returns) the fraction ends in a nonzero digit and zero is
// non-negative with frac 0: then its text is exactly the number text the
// dispatcher writes for the same value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/natural.h"

namespace decimora::engine {

struct Decimal {
  bool negative = false;
  Natural coef;
  std::int64_t frac = 0;

  Decimal() = default;
  Decimal(bool negative_, Natural coef_, std::int64_t frac_) : negative(negative_), coef(std::move(coef_)), frac(frac_) {}
  static Decimal Integer(std::uint64_t value) { return Decimal(false, Natural(value), 0); }

  // A plain number text: an optional "-", digits and at most one decimal
  // separator (the current one); leading zeros and zeros ending the fraction
  // are allowed (no digit at all reads as 0). Anything else is nullopt. The
  // value is in normal form.
  static std::optional<Decimal> Parse(std::string_view text);

  // The normal-form text: "-" for a negative, the separator only when there
  // is a fraction, "0." before a fraction below 1.
  std::string Text() const;

  bool IsZero() const { return coef.IsZero(); }
  bool IsOne() const;  // exactly 1 (not -1)
  // Digits of the coefficient (1 for zero).
  std::size_t DigitCount() const;
  // Characters of the text without its sign, and those before the separator.
  std::int64_t TextLength() const;
  std::int64_t IntegerChars() const;

  // Brings the value to normal form.
  void Normalize();
};

// -1, 0 or 1 as a is less than, equal to or greater than b.
int Compare(const Decimal& a, const Decimal& b);
// The exact sum, difference and product, in normal form.
Decimal Add(const Decimal& a, const Decimal& b);
Decimal Subtract(const Decimal& a, const Decimal& b);
Decimal Multiply(const Decimal& a, const Decimal& b);
// a * 10^k, for any k (exact: a negative k moves the separator left).
Decimal ShiftDecimal(const Decimal& a, std::int64_t k);

// Rounds a half up (away from zero) to `digits` significant digits (at
// least 1), exactly as the composer rounds digit text, and brings it to
// normal form.
void RoundToDigits(Decimal& a, std::size_t digits);

// The value of the first (up to) 17 digits of a digit string, as a double:
// the leading digits every logarithm estimate starts from.
double LeadingDigitsValue(std::string_view digits);
// log10 |a| of a nonzero value from its leading 17 digits (nullopt for zero).
std::optional<double> Log10(const Decimal& a);
// The same estimate for a plain unsigned decimal text (digits and at most
// one separator) of any length: the one home of the leading-digits log10.
std::optional<double> Log10OfText(std::string_view text);

// Digit counting and shifting on limbs (little-endian, base 10^9), for the
// steps that build values limb by limb.
std::size_t DigitCountOf(const Natural& a);  // 1 for zero, by comparisons on the top limb
std::size_t TrailingZeroDigits(const std::vector<Limb>& limbs);  // of a nonzero value
// out[0..) := floor(a / 10^digits) for a = a[0..n), digits < 9n; returns the
// number of limbs written (the top ones may be zero). out may be a itself.
std::size_t ShiftDigitsDown(const Limb* a, std::size_t n, std::size_t digits, Limb* out);

}  // namespace decimora::engine
