// The remainder family: remainders of a division and factorials.
// Workers follow the conventions of functions/shared.h; the worksheet
// functions wrap them and answer the host error #VALUE! where a call cannot
// be made.
#pragma once

#include <string>
#include <string_view>

#include "frame/restrictionator.h"
#include "platform/variant.h"

namespace decimora::functions {

// --- Worksheet functions ------------------------------------------------------
// sign: 1 the remainder's own, 2 the dividend's, 3 (default) the divisor's,
// 4 positive, 5 negative. dcmREMAINDER rounds the quotient toward negative
// infinity, as dcmMOD; dcmMODTRUNC toward zero.
Value dcmMOD(const Value& dividend, const Value& divisor, const Value& sign = {}, const Value& format_negative = {},
             const Value& format_thousands = {}, const Value& format_currency = {},
             const Value& exponential_notation = {}, const Value& maximum_significant_digits = {});
Value dcmMODTRUNC(const Value& dividend, const Value& divisor, const Value& sign = {},
                  const Value& format_negative = {}, const Value& format_thousands = {},
                  const Value& format_currency = {}, const Value& exponential_notation = {},
                  const Value& maximum_significant_digits = {});
Value dcmREMAINDER(const Value& dividend, const Value& divisor, const Value& sign = {},
                   const Value& format_negative = {}, const Value& format_thousands = {},
                   const Value& format_currency = {}, const Value& exponential_notation = {},
                   const Value& maximum_significant_digits = {});
Value dcmFACT(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
              const Value& format_currency = {}, const Value& exponential_notation = {},
              const Value& maximum_significant_digits = {});
Value dcmFACTDOUBLE(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
                    const Value& format_currency = {}, const Value& exponential_notation = {},
                    const Value& maximum_significant_digits = {});

// --- Workers ------------------------------------------------------------------

// dividend - divisor * q, q the quotient rounded toward negative infinity
// (use_trunc false) or toward zero (use_trunc true). sign chooses only the
// sign of the result: 1 the remainder's own, 2 the dividend's, 3 (default,
// and any value not listed) the divisor's, 4 positive, 5 negative.
// maximum_significant_digits omitted means DefaultMaxSD. "#VALUE!" for an
// empty operand or a dividend that is not a number, "#DIV/0!" for a zero
// divisor; error texts of either operand pass through. Throws CallFailed for
// a divisor that is not a number, or a sign that is not a number (a maxSD
// that is not a number takes the default).
std::string Mod_Function(const Value& dividend, const Value& divisor, bool use_trunc, const Value& sign = {},
                         const Value& format_negative = {}, const Value& format_thousands = {},
                         const Value& format_currency = {}, const Value& exponential_notation = {},
                         const Value& maximum_significant_digits = {});
std::string Mod_Function(std::string_view dividend, std::string_view divisor, bool use_trunc, double maxSD);

// n! for 0 <= n <= 9273 (a fractional n counts as its integer part), each
// step of the product held to maximum_significant_digits (DefaultMaxSD when
// omitted) as the dispatcher holds a product: a factorial longer than that
// is an approximation. "#NUM!" for a negative n or one above the limit;
// throws CallFailed when num is not a number.
std::string Fact_Function(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
                          const Value& format_currency = {}, const Value& exponential_notation = {},
                          const Value& maximum_significant_digits = {});

// n!! = n (n-2) (n-4) ... for 0 <= n <= 17234, as Fact_Function.
std::string FactDouble_Function(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
                                const Value& format_currency = {}, const Value& exponential_notation = {},
                                const Value& maximum_significant_digits = {});

// The largest arguments whose results fit a cell.
inline constexpr double kMaxFactorialArgument = 9273;
inline constexpr double kMaxDoubleFactorialArgument = 17234;

}  // namespace decimora::functions
