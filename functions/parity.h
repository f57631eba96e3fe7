// The parity family: parity tests and rounding to an even or odd integer.
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
// A Boolean, or the text "#NUM!" for a value that is not a number.
Value dcmISEVEN(const Value& num);
Value dcmISODD(const Value& num);
Value dcmEVEN(const Value& num, const Value& RoundNegTowardZero = {}, const Value& format_negative = {},
              const Value& format_thousands = {}, const Value& format_currency = {},
              const Value& exponential_notation = {});
Value dcmODD(const Value& num, const Value& RoundNegTowardZero = {}, const Value& format_negative = {},
             const Value& format_thousands = {}, const Value& format_currency = {},
             const Value& exponential_notation = {});
Value dcmEVEN2(const Value& num, const Value& RoundNegAwayFromZero = {}, const Value& format_negative = {},
               const Value& format_thousands = {}, const Value& format_currency = {},
               const Value& exponential_notation = {});
Value dcmODD2(const Value& num, const Value& RoundNegAwayFromZero = {}, const Value& format_negative = {},
              const Value& format_thousands = {}, const Value& format_currency = {},
              const Value& exponential_notation = {});

// --- Workers ------------------------------------------------------------------

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

}  // namespace decimora::functions
