// Integer, rounding, parity, remainder and factorial workers.
//
// The worksheet methods of cls_Decimora (dcmROUND, dcmMOD, dcmISODD, ...) are
// thin wrappers around these; other functions of the system call them
// directly for their own integer steps (truncation, the integer part,
// remainders, factorials, sign changes).
//
// Conventions shared by every worker here:
// - Numbers are number texts (any accepted input form) or host values; a
//   worker that takes a Value converts it with the host's variant-to-text
//   rule. The string_view overloads are the same worker with every option
//   omitted, for internal callers.
// - The four format options are format_negative, format_thousands,
//   format_currency and exponential_notation, normalised by Restrictionator;
//   omitted means the defaults (leading "-", no grouping, no currency, no
//   exponent form).
// - Results are texts. An error text ("#VALUE!", "#NUM!", "#DIV/0!") is a
//   result like any other; the caller passes it on.
// - Where a call cannot be made at all (a num_digits or a factorial argument
//   that does not convert to a number, a divisor that is not a number, a host
//   error or an array where a text is read), the worker throws
//   frame::CallFailed and the worksheet method answers the host error #VALUE!.
#pragma once

#include <string>
#include <string_view>

#include "frame/restrictionator.h"
#include "platform/variant.h"

namespace decimora::functions {

// --- Integer and rounding ---------------------------------------------------

// Rounds the number text at num_digits digits after the decimal separator
// (negative: before it), on the digit text, never through floating point.
// Exactly one mode is meant to be set: round_half rounds half away from
// zero, round_up away from zero, round_down toward zero (none set counts as
// round_down). The sign is kept. "#VALUE!" for an empty or unreadable number
// (error texts included), for num_digits below -32,767 or not a number, and
// when a carry past every digit would need more than 32,766 digits.
std::string Round_Function(std::string_view number, double num_digits, bool round_half, bool round_up, bool round_down,
                           const Value& format_negative = {}, const Value& format_thousands = {},
                           const Value& format_currency = {}, const Value& exponential_notation = {});

// The integer part rounded toward negative infinity (-0.1 gives -1). An
// empty number gives "0"; anything Round_Function rejects gives "#VALUE!".
std::string Int_Function(const Value& number, const Value& format_negative = {}, const Value& format_thousands = {},
                         const Value& format_currency = {}, const Value& exponential_notation = {});
std::string Int_Function(std::string_view number);

// Truncation toward zero at num_digits (0 when omitted or a blank cell).
// Throws CallFailed when num_digits is given and is not a number (the empty
// text included). An empty number gives "0".
std::string Trunc_Function(const Value& number, const Value& num_digits = {}, const Value& format_negative = {},
                           const Value& format_thousands = {}, const Value& format_currency = {},
                           const Value& exponential_notation = {});
std::string Trunc_Function(std::string_view number);

// The fraction digits of the number as written: 0.345 for 12.345, or 345
// when as_int is true. sign 2 makes the result positive, 3 negative, any
// other value (1 by default) keeps the number's sign. Composed with the
// caller's maximum_significant_digits. A number without separator gives "0".
std::string Frac_Function(const Value& number, const Value& as_int = {}, const Value& sign = {},
                          const Value& format_negative = {}, const Value& format_thousands = {},
                          const Value& format_currency = {}, const Value& exponential_notation = {},
                          const Value& maximum_significant_digits = {});

// |x|; -|x| (a negative number stays negative); -x. Error texts pass
// through; a text that is not a number gives "#NUM!". An empty number reads
// as 0, except for Neg_Function, which answers "#VALUE!".
std::string Abs_Function(const Value& number, const Value& format_negative = {}, const Value& format_thousands = {},
                         const Value& format_currency = {}, const Value& exponential_notation = {});
std::string Neg_Function(const Value& number, const Value& format_negative = {}, const Value& format_thousands = {},
                         const Value& format_currency = {}, const Value& exponential_notation = {});
std::string ChangeSign_Function(const Value& number, const Value& format_negative = {},
                                const Value& format_thousands = {}, const Value& format_currency = {},
                                const Value& exponential_notation = {});
std::string Abs_Function(std::string_view number);
std::string Neg_Function(std::string_view number);
std::string ChangeSign_Function(std::string_view number);

// --- Parity -------------------------------------------------------------------

// Whether the integer part (truncated toward zero) is odd; the sign plays no
// part. Value::Bool, or Value::Text("#NUM!") for a text that is not a
// number. An empty number is even (false).
Value IsOdd_Function(const Value& number);
Value IsOdd_Function(std::string_view number);

// The nearest integer of the wanted parity away from zero (toward zero for a
// negative number when RoundNegTowardZero is true). "#VALUE!" for a text
// that is not a number; an empty number counts as 0.
std::string EvenOdd_Function(const Value& number, bool want_even, bool RoundNegTowardZero,
                             const Value& format_negative = {}, const Value& format_thousands = {},
                             const Value& format_currency = {}, const Value& exponential_notation = {});

// The nearest integer of the wanted parity toward zero (away from zero for a
// negative number when RoundNegAwayFromZero is true); a non-negative number
// moves down, so 0 gives -1 for odd.
std::string EvenOdd2_Function(const Value& number, bool want_even, bool RoundNegAwayFromZero,
                              const Value& format_negative = {}, const Value& format_thousands = {},
                              const Value& format_currency = {}, const Value& exponential_notation = {});

// --- Remainders and factorials ----------------------------------------------

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

// --- Shared by the workers' own sources -------------------------------------
namespace decimora::functions::detail {

// The text of a value as the host converts it; throws frame::CallFailed
// where there is none (omitted, a host error, an array).
std::string TextOrFail(const Value& v);

// A Boolean argument as the host converts it: TRUE, a nonzero number or the
// text of one; everything else (omitted and blank included) is false.
bool IsTrueArgument(const Value& v);

// The four format options normalised with the given maximum of significant
// digits (Value::Number(32767) for the integer workers).
type_Restrictionator FormatOptions(const Value& format_negative, const Value& format_thousands,
                                   const Value& format_currency, const Value& exponential_notation,
                                   const Value& maximum_significant_digits);

// Composes a signed plain number text ("-" in front for a negative number,
// at most one separator), as produced by the dispatcher, with the options.
std::string ComposeSignedText(std::string_view text, const type_Restrictionator& options);

}  // namespace decimora::functions::detail
