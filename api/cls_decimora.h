// cls_Decimora: the public face of the library. Every worksheet function and
// public worker is a method here; each one answers with a Value and never
// lets an exception out (a failure is an error text, or the host error
// #VALUE! where the call itself fails). The methods only forward to the
// families in functions/, which hold the work and the documentation.
#pragma once

#include <span>

#include "engine/division.h"
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
  Value dcmROOT(const Value& number1, const Value& number2, const Value& format_negative = {},
                const Value& format_thousands = {}, const Value& format_currency = {},
                const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
                const Value& restrict_input_lengths = {}, const Value& format_decimal_place = {},
                const Value& preserve_decimal_place = {});

  // --- Division workers --------------------------------------------------------
  // Digit strings in, a record out; a value that has no text gives "#VALUE!"
  // as digits (or the host error #VALUE! for the plain values).
  engine::type_Division_Osrel Osrel_Divide(const Value& iBig, const Value& kBig, const Value& Precision);
  engine::type_Division_Osrel myInverse5(const Value& kBig, const Value& p);
  Value DivisionDecimalPosition(const Value& divisor, const Value& dividend);
  Value Min(const Value& num1, const Value& num2);
  Value Max(const Value& num1, const Value& num2);
  Value GetHalfofLong(const Value& num_as_long);

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
  // Never fails: an option that cannot be read takes its default (a
  // maximum_significant_digits that is not a number takes DefaultMaxSD).
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

  // --- About window ------------------------------------------------------------
  // Asks the host to show the About window (where it has one: Calc); the
  // result is an empty value.
  Value dcmABOUT();

  // --- Integer and rounding functions ---------------------------------------
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
  Value dcmSQRT(const Value& num, const Value& format_thousands = {}, const Value& format_currency = {},
                const Value& exponential_notation = {}, const Value& maxSD = {});
  Value dcmSQRTPI(const Value& num, const Value& format_thousands = {}, const Value& format_currency = {},
                  const Value& exponential_notation = {}, const Value& maxSD = {});

  // --- Parity functions -------------------------------------------------------
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

  // --- Remainders and factorials ---------------------------------------------
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

  // --- Exponential and logarithms ---------------------------------------------
  Value dcmEXP(const Value& num, const Value& exponential_notation = {}, const Value& maximum_significant_digits = {});
  Value dcmLN(const Value& num, const Value& exponential_notation = {}, const Value& maximum_significant_digits = {});
  Value dcmLOG(const Value& num, const Value& num_base = {}, const Value& exponential_notation = {},
               const Value& maximum_significant_digits = {});

  // --- Stored constants --------------------------------------------------------
  // digits omitted: the default maximum; the cut text of pi or e, unformatted.
  Value dcmPi(const Value& digits = {});
  Value dcmE(const Value& digits = {});

  // --- Poisson distribution ------------------------------------------------------
  // is_cumulative must be TRUE or FALSE; anything else answers #VALUE!.
  Value dcmPOISSON(const Value& target_num, const Value& average_num, const Value& is_cumulative,
                   const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
                   const Value& restrict_input_lengths = {});

  // --- Mantissa and exponent workers -------------------------------------------
  Value Get_Mantissa(const Value& num, const Value& as_integer = {});
  Value Get_Exponent(const Value& num);
  Value Combine_Mantissa_And_Exponent(const Value& mantissa, const Value& exponent);
  Value Test_Mantissa_And_Exponent(const Value& num);

  // --- Trigonometric and inverse trigonometric functions ------------------------
  // Angles in radians; maxSD omitted: the default maximum. Cos_Function,
  // Tan_Function and the three inverse workers are public as well.
  Value dcmSIN(const Value& num, const Value& maxSD = {});
  Value dcmCOS(const Value& num, const Value& maxSD = {});
  Value dcmTAN(const Value& num, const Value& maxSD = {});
  Value dcmRADIANS(const Value& degrees, const Value& maxSD = {});
  Value dcmDEGREES(const Value& radians, const Value& maxSD = {});
  Value Cos_Function(const Value& num, const Value& maxSD = {});
  Value Tan_Function(const Value& num, const Value& maxSD = {});
  Value dcmATAN(const Value& num, const Value& maxSD = {});
  Value dcmASIN(const Value& num, const Value& maxSD = {});
  Value dcmACOS(const Value& num, const Value& maxSD = {});
  Value ATan_Function(const Value& num, const Value& maxSD = {});
  Value ASin_Function(const Value& num, const Value& maxSD = {});
  Value ACos_Function(const Value& num, const Value& maxSD = {});

  // --- GCD, LCM and fraction reduction ----------------------------------------
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

  // --- Range aggregates ---------------------------------------------------------
  // rngArray must hold an array (a range); anything else fails (#VALUE!).
  Value dcmSUM(const Value& rngArray, const Value& format_negative = {}, const Value& format_thousands = {},
               const Value& format_currency = {}, const Value& exponential_notation = {},
               const Value& maximum_significant_digits = {});
  Value dcmSUM2(std::span<const Value> numlist);
  Value dcmCOUNT(std::span<const Value> numlist);
  Value dcmAVERAGE(std::span<const Value> numlist);
  Value dcmPRODUCT(std::span<const Value> numlist);
  Value dcmMAX(std::span<const Value> numlist);
  Value dcmMIN(std::span<const Value> numlist);

  // --- Sorting and order statistics ---------------------------------------------
  // dcmSORT and the table form of dcmMODE return arrays.
  Value dcmSORT(const Value& numlist, const Value& descending = {}, const Value& left_to_right = {},
                const Value& fit_to_array = {}, const Value& blank_text = {}, const Value& rows = {},
                const Value& cols = {});
  Value dcmLARGE(const Value& numlist, const Value& k);
  Value dcmSMALL(const Value& numlist, const Value& k);
  Value dcmRANK(const Value& num, const Value& numlist, const Value& ascending = {},
                const Value& tie_compensation = {});
  Value dcmMEDIAN(std::span<const Value> numlist);
  Value dcmMODE(std::span<const Value> numlist);

  // --- Text extraction and exclusion -----------------------------------------
  // The first non-empty value is the text to clean; later ones are the texts
  // to remove or keep, and directives.
  Value dcmEXCLUDE(std::span<const Value> numlist);
  Value dcmEXCLUDENOTNUM(std::span<const Value> numlist);
  Value dcmEXTRACT(std::span<const Value> numlist);
  Value dcmEXTRACTNUM(std::span<const Value> numlist);

  // --- Information -------------------------------------------------------------
  Value dcmVERSION();
  Value dcmTEST();
  Value dcmHelpfilePath();
  Value dcmISERROR(const Value& num);
  Value dcmISNUMBER(const Value& num);
};

}  // namespace decimora
