// cls_Decimora: the public face of the library. Every worksheet function and
// public worker is a method here; each one answers with a Value and never
// lets an exception out (a failure is an error text, or the host error
// #VALUE! where the call itself fails).
#pragma once

#include "frame/restrictionator.h"
#include "platform/variant.h"

namespace decimora {

class cls_Decimora {
 public:
  // Object creation: loads the default maximum of significant digits.
  cls_Decimora();

  // --- Operators and comparisons -------------------------------------------
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

  Value dcmISEQUAL(const Value& number1, const Value& number2);
  Value dcmISNOTEQUAL(const Value& number1, const Value& number2);
  Value dcmISGREATER(const Value& number1, const Value& number2);
  Value dcmISGREATEROREQUAL(const Value& number1, const Value& number2);
  Value dcmISLESS(const Value& number1, const Value& number2);
  Value dcmISLESSOREQUAL(const Value& number1, const Value& number2);

  // --- Result formatting ---------------------------------------------------
  Value dcmFORMAT(const Value& number, const Value& format_negative = {}, const Value& format_thousands = {},
                  const Value& format_currency = {}, const Value& exponential_notation = {},
                  const Value& maximum_significant_digits = {}, const Value& format_decimal_place = {},
                  const Value& preserve_decimal_place = {});

  // --- Options ---------------------------------------------------------------
  // Fails (throws frame::CallFailed) when maximum_significant_digits is not a number.
  type_Restrictionator Restrictionator(const Value& format_negative = {}, const Value& format_thousands = {},
                                       const Value& format_currency = {}, const Value& exponential_notation = {},
                                       const Value& maximum_significant_digits = {},
                                       const Value& format_decimal_place = {},
                                       const Value& preserve_decimal_place = {});
  type_Restrictionator PublicRestrictionatorCaller(const Value& format_negative = {},
                                                   const Value& format_thousands = {},
                                                   const Value& format_currency = {},
                                                   const Value& exponential_notation = {},
                                                   const Value& maximum_significant_digits = {});

  // --- Default maximum of significant digits --------------------------------
  Value dcmDEFAULTMAXSD();

  // Each family below implements its methods in its own functions/<family>.cpp.

  // --- Integer and rounding functions ---------------------------------------

  // --- Parity functions -------------------------------------------------------

  // --- Remainders and factorials ---------------------------------------------

  // --- GCD, LCM and fraction reduction ----------------------------------------

  // --- Range aggregates ---------------------------------------------------------
};

}  // namespace decimora
