// The fraction family: fraction reduction and the greatest common divisor
// and least common multiple of a list, built on it. The power code reduces the fraction of a
// decimal exponent with ReduceFraction_Function.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::functions {

// --- Worksheet functions ------------------------------------------------------
// The 4 x 4 array (fraction text, then numerator, divisor and reduced-by
// across row 1 and down column 1), or the one field asked for.
Value dcmREDUCEFRACTION(const Value& Numerator, const Value& divisor, const Value& simplify_signs = {},
                        const Value& always_simplify_fraction = {}, const Value& return_numerator = {},
                        const Value& return_divisor = {}, const Value& return_reduced_by = {},
                        const Value& fraction_separator = {});
Value dcmGCD(std::span<const Value> numlist);
Value dcmGCD2(std::span<const Value> numlist);
Value dcmLCM(std::span<const Value> numlist);
Value dcmLCM2(std::span<const Value> numlist);

// --- Workers ------------------------------------------------------------------

struct type_Fraction {
  std::string Numerator;   // the reduced numerator (number text or error value)
  std::string divisor;     // the reduced divisor
  std::string Reduced_By;  // original numerator = Numerator x Reduced_By; "1" when nothing was reduced
};

// Reduces numerator/divisor (any accepted number texts) by their greatest
// common divisor. Decimals are scaled by a power of ten to integers first,
// so 1.25/3.5 becomes 5/14 reduced by 0.25.
// - An input that is not a number (or an error text) comes back in all
//   three fields.
// - simplify_signs moves a lone minus sign of the divisor to the numerator
//   and cancels two.
// - A zero numerator gives (numerator, "1", divisor); a zero divisor gives
//   ("1", divisor, numerator); a numerator or divisor of 1 or -1 is left
//   unreduced with Reduced_By "1".
// - A reduction that would make the numerator larger in magnitude than the
//   given one (possible only with decimals: 0.5/1.5 would become 1/3) is
//   taken only with always_simplify; otherwise the inputs come back with
//   Reduced_By "1".
// Numerator and divisor come back as integers when reduced. Every result is
// exact, whatever length the scaling reaches; a number that no cell holds
// gives "#NUM!" in all three fields, and a field longer than a cell is
// "#NUM!". maximum_significant_digits is accepted for the callers' sake and
// changes nothing: no step rounds.
type_Fraction ReduceFraction_Function(std::string_view numerator, std::string_view divisor, bool simplify_signs,
                                      bool always_simplify,
                                      std::optional<double> maximum_significant_digits = std::nullopt);

// The greatest common divisor and least common multiple of a list of values
// and ranges with "FORMAT:" directives. keep_as_given false (dcmGCD, dcmLCM):
// values are truncated to integers and a negative one makes the result
// "#NUM!"; true (dcmGCD2, dcmLCM2): values are taken as they are, decimals
// included, and only the least common multiple rejects a negative value.
// Values that are not numbers are skipped; a list without any number gives
// the empty text; a number too long for a cell, or a multiple that grows
// beyond one, gives "#NUM!".
std::string GCD_Function(std::span<const Value> numlist, bool keep_as_given);
std::string LCM_Function(std::span<const Value> numlist, bool keep_as_given);

}  // namespace decimora::functions
