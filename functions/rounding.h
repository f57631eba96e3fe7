// The rounding family: rounding at a decimal position, the integer part,
// truncation, the fraction, absolute value and sign changes, all on the digit
// text.
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
// num_digits must convert to a number (the empty text counts as 0);
// otherwise the call fails (#VALUE!).
Value dcmROUND(const Value& num, const Value& num_digits, const Value& format_negative = {},
               const Value& format_thousands = {}, const Value& format_currency = {},
               const Value& exponential_notation = {});
Value dcmROUNDUP(const Value& num, const Value& num_digits, const Value& format_negative = {},
                 const Value& format_thousands = {}, const Value& format_currency = {},
                 const Value& exponential_notation = {});
Value dcmROUNDDOWN(const Value& num, const Value& num_digits, const Value& format_negative = {},
                   const Value& format_thousands = {}, const Value& format_currency = {},
                   const Value& exponential_notation = {});
Value dcmINT(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
             const Value& format_currency = {}, const Value& exponential_notation = {});
Value dcmTRUNC(const Value& num, const Value& num_digits = {}, const Value& format_negative = {},
               const Value& format_thousands = {}, const Value& format_currency = {},
               const Value& exponential_notation = {});
Value dcmFRAC(const Value& num, const Value& as_int = {}, const Value& sign = {}, const Value& format_negative = {},
              const Value& format_thousands = {}, const Value& format_currency = {},
              const Value& exponential_notation = {}, const Value& maximum_significant_digits = {});
Value dcmABS(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
             const Value& format_currency = {}, const Value& exponential_notation = {});
Value dcmNEG(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
             const Value& format_currency = {}, const Value& exponential_notation = {});
Value dcmCHANGESIGN(const Value& num, const Value& format_negative = {}, const Value& format_thousands = {},
                    const Value& format_currency = {}, const Value& exponential_notation = {});
// The number 1, -1 or 0; the text "0" for an empty argument, "#VALUE!" for
// one that is not a number.
Value dcmSIGN(const Value& num);

// --- Workers ------------------------------------------------------------------

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

}  // namespace decimora::functions
