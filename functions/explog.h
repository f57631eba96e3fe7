// The exponential and the logarithms: e to a power, the natural logarithm
// and the logarithm to any base, on number texts of any length.
//
// Each worker is a chain of the dispatcher's operations (frame/steps.h),
// every step at the worker's working precision, so the digits are those of
// the step-by-step algorithm:
// - ln: num = y * 2^k with y near [1, 2), then ln y = 2 artanh z with
//   z = (y - 1) / (y + 1) by its series, plus k ln 2 from the stored ln 2;
// - exp: r = x - k ln 2, halved until below 0.1, the Taylor series, squared
//   back and multiplied by 2^k;
// - log: the quotient of two natural logarithms, the stored ln 10 or ln 2
//   standing in for the denominator when the base is 10 or 2.
// Workers follow the conventions of functions/shared.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/steps.h"
#include "platform/variant.h"

namespace decimora::functions {

// --- Worksheet functions ------------------------------------------------------
Value dcmEXP(const Value& num, const Value& exponential_notation = {}, const Value& maximum_significant_digits = {});
Value dcmLN(const Value& num, const Value& exponential_notation = {}, const Value& maximum_significant_digits = {});
Value dcmLOG(const Value& num, const Value& num_base = {}, const Value& exponential_notation = {},
             const Value& maximum_significant_digits = {});

// --- Workers ------------------------------------------------------------------
// With internal_call set the value comes back rounded half up to maxSD
// significant digits and no option applies; otherwise it is composed like
// an operator's result at maxSD (up to maxSD + 2 significant digits) with
// the exponential notation when asked. maxSD omitted (or not a number) is
// DefaultMaxSD. "#VALUE!" for a num that is not a number or is an error
// text; "#NUM!" for the logarithm of zero or a negative number, and for an
// exponential too large for a cell (one too small is 0).
std::string Exp_Function(const Value& num, const Value& exponential_notation, const Value& maximum_significant_digits,
                         bool internal_call);
std::string Ln_Function(const Value& num, const Value& exponential_notation, const Value& maximum_significant_digits,
                        bool internal_call);
// num_base omitted is 10. Its working precision is M + 10 for every base but
// 2, which gets M + 2, with M = maxSD but at least 10, capped at the length
// of the stored ln 2.
std::string Log_Function(const Value& num, const Value& num_base, const Value& exponential_notation,
                         const Value& maximum_significant_digits, bool internal_call);

// The power of ten of the leading digit of t as the series' stopping test
// reads it: the exponent of t's text minus one (for a positive t, E with
// 10^E <= t < 10^(E+1); for zero -1). t is a number text in normal form.
std::string Get_TermExponent(std::string_view t, double precision);

// --- Internals, for the tests -------------------------------------------------
namespace explog_detail {

// The same as Get_TermExponent, read from the value.
std::int64_t TermExponent(const frame::StepNumber& t);

// a / d for a whole d >= 2 through the dispatcher's division at maxSD, in
// time linear in a's length: the same answer as
// frame::StepDivide(a, engine::Decimal::Integer(d), maxSD).
frame::StepNumber DivideBySmall(const frame::StepNumber& a, std::uint32_t d, double maxSD);

// frame::StepMultiply(a, b, maxSD) from the product's leading digits only.
frame::StepNumber MultiplyStep(const frame::StepNumber& a, const frame::StepNumber& b, double maxSD);

}  // namespace explog_detail
}  // namespace decimora::functions
