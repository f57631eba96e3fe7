// The operators family: the four operations, the power and the root through the
// dispatcher, the comparisons, dcmFORMAT, the option normaliser and the
// public division workers. Every function answers with a Value and reports
// a failure as an error text (or the host error #VALUE! where the call
// itself cannot be made).
#pragma once

#include "engine/division.h"
#include "frame/restrictionator.h"
#include "platform/variant.h"

namespace decimora::functions {

// --- Operators ----------------------------------------------------------------
Value dcmADD(const Value& number1, const Value& number2, const Value& format_negative = {},
             const Value& format_thousands = {}, const Value& format_currency = {},
             const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
             const Value& format_decimal_place = {}, const Value& preserve_decimal_place = {});
Value dcmSUBTRACT(const Value& number1, const Value& number2, const Value& format_negative = {},
                  const Value& format_thousands = {}, const Value& format_currency = {},
                  const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
                  const Value& format_decimal_place = {}, const Value& preserve_decimal_place = {});
Value dcmMULTIPLY(const Value& number1, const Value& number2, const Value& format_negative = {},
                  const Value& format_thousands = {}, const Value& format_currency = {},
                  const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
                  const Value& format_decimal_place = {}, const Value& preserve_decimal_place = {});
Value dcmDIVIDE(const Value& number1, const Value& number2, const Value& format_negative = {},
                const Value& format_thousands = {}, const Value& format_currency = {},
                const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
                const Value& format_decimal_place = {}, const Value& preserve_decimal_place = {});
// restrict_input_lengths omitted counts as TRUE.
Value dcmPOWER(const Value& number1, const Value& number2, const Value& format_negative = {},
               const Value& format_thousands = {}, const Value& format_currency = {},
               const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
               const Value& restrict_input_lengths = {}, const Value& format_decimal_place = {},
               const Value& preserve_decimal_place = {});
// The root of number1 of degree number2; restrict_input_lengths as for dcmPOWER.
Value dcmROOT(const Value& number1, const Value& number2, const Value& format_negative = {},
              const Value& format_thousands = {}, const Value& format_currency = {},
              const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
              const Value& restrict_input_lengths = {}, const Value& format_decimal_place = {},
              const Value& preserve_decimal_place = {});

// --- Comparisons: the text True or False, or an error text ----------------------
Value dcmISEQUAL(const Value& number1, const Value& number2);
Value dcmISNOTEQUAL(const Value& number1, const Value& number2);
Value dcmISGREATER(const Value& number1, const Value& number2);
Value dcmISGREATEROREQUAL(const Value& number1, const Value& number2);
Value dcmISLESS(const Value& number1, const Value& number2);
Value dcmISLESSOREQUAL(const Value& number1, const Value& number2);

// --- Result formatting -------------------------------------------------------
Value dcmFORMAT(const Value& number, const Value& format_negative = {}, const Value& format_thousands = {},
                const Value& format_currency = {}, const Value& exponential_notation = {},
                const Value& maximum_significant_digits = {}, const Value& format_decimal_place = {},
                const Value& preserve_decimal_place = {});

// --- Options -----------------------------------------------------------------
// Never fails: an option that cannot be read takes its default (a
// maximum_significant_digits that is not a number takes DefaultMaxSD).
type_Restrictionator Restrictionator(const Value& format_negative = {}, const Value& format_thousands = {},
                                     const Value& format_currency = {}, const Value& exponential_notation = {},
                                     const Value& maximum_significant_digits = {},
                                     const Value& format_decimal_place = {}, const Value& preserve_decimal_place = {});
type_Restrictionator PublicRestrictionatorCaller(const Value& format_negative = {}, const Value& format_thousands = {},
                                                 const Value& format_currency = {},
                                                 const Value& exponential_notation = {},
                                                 const Value& maximum_significant_digits = {});

// The per-thread default maximum of significant digits, as a number.
Value dcmDEFAULTMAXSD();

// --- Division workers ----------------------------------------------------------
// Digit strings in, a record out; a value that has no text gives "#VALUE!"
// as digits (or the host error #VALUE! for the plain values).
engine::type_Division_Osrel Osrel_Divide(const Value& iBig, const Value& kBig, const Value& Precision);
engine::type_Division_Osrel myInverse5(const Value& kBig, const Value& p);
Value DivisionDecimalPosition(const Value& divisor, const Value& dividend);
Value Min(const Value& num1, const Value& num2);
Value Max(const Value& num1, const Value& num2);
Value GetHalfofLong(const Value& num_as_long);

}  // namespace decimora::functions
