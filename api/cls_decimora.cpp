// The face forwards every method to its family in functions/.
#include "api/cls_decimora.h"


#include "api/default_maxsd.h"
#include "functions/aggregates.h"
#include "functions/constants.h"
#include "functions/explog.h"
#include "functions/fraction.h"
#include "functions/info.h"
#include "functions/inverse_trig.h"
#include "functions/operators.h"
#include "functions/order.h"
#include "functions/parity.h"
#include "functions/poisson.h"
#include "functions/remainder.h"
#include "functions/roots.h"
#include "functions/rounding.h"
#include "functions/text.h"
#include "functions/trig.h"
#include "platform/windows.h"

namespace decimora {

cls_Decimora::cls_Decimora() { api::LoadDefaultMaxSD(); }

Value cls_Decimora::dcmADD(const Value& number1, const Value& number2, const Value& format_negative,
                           const Value& format_thousands, const Value& format_currency,
                           const Value& exponential_notation, const Value& maximum_significant_digits,
                           const Value& format_decimal_place, const Value& preserve_decimal_place) {
  return functions::dcmADD(number1, number2, format_negative, format_thousands, format_currency, exponential_notation,
                           maximum_significant_digits, format_decimal_place, preserve_decimal_place);
}

Value cls_Decimora::dcmSUBTRACT(const Value& number1, const Value& number2, const Value& format_negative,
                                const Value& format_thousands, const Value& format_currency,
                                const Value& exponential_notation, const Value& maximum_significant_digits,
                                const Value& format_decimal_place, const Value& preserve_decimal_place) {
  return functions::dcmSUBTRACT(number1, number2, format_negative, format_thousands, format_currency,
                                exponential_notation, maximum_significant_digits, format_decimal_place,
                                preserve_decimal_place);
}

Value cls_Decimora::dcmMULTIPLY(const Value& number1, const Value& number2, const Value& format_negative,
                                const Value& format_thousands, const Value& format_currency,
                                const Value& exponential_notation, const Value& maximum_significant_digits,
                                const Value& format_decimal_place, const Value& preserve_decimal_place) {
  return functions::dcmMULTIPLY(number1, number2, format_negative, format_thousands, format_currency,
                                exponential_notation, maximum_significant_digits, format_decimal_place,
                                preserve_decimal_place);
}

Value cls_Decimora::dcmDIVIDE(const Value& number1, const Value& number2, const Value& format_negative,
                              const Value& format_thousands, const Value& format_currency,
                              const Value& exponential_notation, const Value& maximum_significant_digits,
                              const Value& format_decimal_place, const Value& preserve_decimal_place) {
  return functions::dcmDIVIDE(number1, number2, format_negative, format_thousands, format_currency,
                              exponential_notation, maximum_significant_digits, format_decimal_place,
                              preserve_decimal_place);
}

Value cls_Decimora::dcmPOWER(const Value& number1, const Value& number2, const Value& format_negative,
                             const Value& format_thousands, const Value& format_currency,
                             const Value& exponential_notation, const Value& maximum_significant_digits,
                             const Value& restrict_input_lengths, const Value& format_decimal_place,
                             const Value& preserve_decimal_place) {
  return functions::dcmPOWER(number1, number2, format_negative, format_thousands, format_currency, exponential_notation,
                             maximum_significant_digits, restrict_input_lengths, format_decimal_place,
                             preserve_decimal_place);
}

Value cls_Decimora::dcmROOT(const Value& number1, const Value& number2, const Value& format_negative,
                             const Value& format_thousands, const Value& format_currency,
                             const Value& exponential_notation, const Value& maximum_significant_digits,
                             const Value& restrict_input_lengths, const Value& format_decimal_place,
                             const Value& preserve_decimal_place) {
  return functions::dcmROOT(number1, number2, format_negative, format_thousands, format_currency, exponential_notation,
                             maximum_significant_digits, restrict_input_lengths, format_decimal_place,
                             preserve_decimal_place);
}

engine::type_Division_Osrel cls_Decimora::Osrel_Divide(const Value& iBig, const Value& kBig, const Value& Precision) {
  return functions::Osrel_Divide(iBig, kBig, Precision);
}

engine::type_Division_Osrel cls_Decimora::myInverse5(const Value& kBig, const Value& p) {
  return functions::myInverse5(kBig, p);
}

Value cls_Decimora::DivisionDecimalPosition(const Value& divisor, const Value& dividend) {
  return functions::DivisionDecimalPosition(divisor, dividend);
}

Value cls_Decimora::Min(const Value& num1, const Value& num2) { return functions::Min(num1, num2); }

Value cls_Decimora::Max(const Value& num1, const Value& num2) { return functions::Max(num1, num2); }

Value cls_Decimora::GetHalfofLong(const Value& num_as_long) { return functions::GetHalfofLong(num_as_long); }

Value cls_Decimora::dcmISEQUAL(const Value& number1, const Value& number2) {
  return functions::dcmISEQUAL(number1, number2);
}

Value cls_Decimora::dcmISNOTEQUAL(const Value& number1, const Value& number2) {
  return functions::dcmISNOTEQUAL(number1, number2);
}

Value cls_Decimora::dcmISGREATER(const Value& number1, const Value& number2) {
  return functions::dcmISGREATER(number1, number2);
}

Value cls_Decimora::dcmISGREATEROREQUAL(const Value& number1, const Value& number2) {
  return functions::dcmISGREATEROREQUAL(number1, number2);
}

Value cls_Decimora::dcmISLESS(const Value& number1, const Value& number2) {
  return functions::dcmISLESS(number1, number2);
}

Value cls_Decimora::dcmISLESSOREQUAL(const Value& number1, const Value& number2) {
  return functions::dcmISLESSOREQUAL(number1, number2);
}

Value cls_Decimora::dcmFORMAT(const Value& number, const Value& format_negative, const Value& format_thousands,
                              const Value& format_currency, const Value& exponential_notation,
                              const Value& maximum_significant_digits, const Value& format_decimal_place,
                              const Value& preserve_decimal_place) {
  return functions::dcmFORMAT(number, format_negative, format_thousands, format_currency, exponential_notation,
                              maximum_significant_digits, format_decimal_place, preserve_decimal_place);
}

type_Restrictionator cls_Decimora::Restrictionator(const Value& format_negative, const Value& format_thousands,
                                                   const Value& format_currency, const Value& exponential_notation,
                                                   const Value& maximum_significant_digits,
                                                   const Value& format_decimal_place,
                                                   const Value& preserve_decimal_place) {
  return functions::Restrictionator(format_negative, format_thousands, format_currency, exponential_notation,
                                    maximum_significant_digits, format_decimal_place, preserve_decimal_place);
}

type_Restrictionator cls_Decimora::PublicRestrictionatorCaller(const Value& format_negative,
                                                               const Value& format_thousands,
                                                               const Value& format_currency,
                                                               const Value& exponential_notation,
                                                               const Value& maximum_significant_digits) {
  return functions::PublicRestrictionatorCaller(format_negative, format_thousands, format_currency,
                                                exponential_notation, maximum_significant_digits);
}

Value cls_Decimora::dcmDEFAULTMAXSD() { return functions::dcmDEFAULTMAXSD(); }

Value cls_Decimora::dcmABOUT() {
  platform::RequestAboutWindow();
  return Value::Empty();
}

Value cls_Decimora::dcmROUND(const Value& num, const Value& num_digits, const Value& format_negative,
                             const Value& format_thousands, const Value& format_currency,
                             const Value& exponential_notation) {
  return functions::dcmROUND(num, num_digits, format_negative, format_thousands, format_currency, exponential_notation);
}

Value cls_Decimora::dcmROUNDUP(const Value& num, const Value& num_digits, const Value& format_negative,
                               const Value& format_thousands, const Value& format_currency,
                               const Value& exponential_notation) {
  return functions::dcmROUNDUP(num, num_digits, format_negative, format_thousands, format_currency,
                               exponential_notation);
}

Value cls_Decimora::dcmROUNDDOWN(const Value& num, const Value& num_digits, const Value& format_negative,
                                 const Value& format_thousands, const Value& format_currency,
                                 const Value& exponential_notation) {
  return functions::dcmROUNDDOWN(num, num_digits, format_negative, format_thousands, format_currency,
                                 exponential_notation);
}

Value cls_Decimora::dcmINT(const Value& num, const Value& format_negative, const Value& format_thousands,
                           const Value& format_currency, const Value& exponential_notation) {
  return functions::dcmINT(num, format_negative, format_thousands, format_currency, exponential_notation);
}

Value cls_Decimora::dcmTRUNC(const Value& num, const Value& num_digits, const Value& format_negative,
                             const Value& format_thousands, const Value& format_currency,
                             const Value& exponential_notation) {
  return functions::dcmTRUNC(num, num_digits, format_negative, format_thousands, format_currency, exponential_notation);
}

Value cls_Decimora::dcmFRAC(const Value& num, const Value& as_int, const Value& sign, const Value& format_negative,
                            const Value& format_thousands, const Value& format_currency,
                            const Value& exponential_notation, const Value& maximum_significant_digits) {
  return functions::dcmFRAC(num, as_int, sign, format_negative, format_thousands, format_currency, exponential_notation,
                            maximum_significant_digits);
}

Value cls_Decimora::dcmABS(const Value& num, const Value& format_negative, const Value& format_thousands,
                           const Value& format_currency, const Value& exponential_notation) {
  return functions::dcmABS(num, format_negative, format_thousands, format_currency, exponential_notation);
}

Value cls_Decimora::dcmNEG(const Value& num, const Value& format_negative, const Value& format_thousands,
                           const Value& format_currency, const Value& exponential_notation) {
  return functions::dcmNEG(num, format_negative, format_thousands, format_currency, exponential_notation);
}

Value cls_Decimora::dcmCHANGESIGN(const Value& num, const Value& format_negative, const Value& format_thousands,
                                  const Value& format_currency, const Value& exponential_notation) {
  return functions::dcmCHANGESIGN(num, format_negative, format_thousands, format_currency, exponential_notation);
}

Value cls_Decimora::dcmSIGN(const Value& num) { return functions::dcmSIGN(num); }

Value cls_Decimora::dcmSQRT(const Value& num, const Value& format_thousands, const Value& format_currency,
                            const Value& exponential_notation, const Value& maxSD) {
  return functions::dcmSQRT(num, format_thousands, format_currency, exponential_notation, maxSD);
}

Value cls_Decimora::dcmSQRTPI(const Value& num, const Value& format_thousands, const Value& format_currency,
                              const Value& exponential_notation, const Value& maxSD) {
  return functions::dcmSQRTPI(num, format_thousands, format_currency, exponential_notation, maxSD);
}

Value cls_Decimora::dcmISEVEN(const Value& num) { return functions::dcmISEVEN(num); }

Value cls_Decimora::dcmISODD(const Value& num) { return functions::dcmISODD(num); }

Value cls_Decimora::dcmEVEN(const Value& num, const Value& RoundNegTowardZero, const Value& format_negative,
                            const Value& format_thousands, const Value& format_currency,
                            const Value& exponential_notation) {
  return functions::dcmEVEN(num, RoundNegTowardZero, format_negative, format_thousands, format_currency,
                            exponential_notation);
}

Value cls_Decimora::dcmODD(const Value& num, const Value& RoundNegTowardZero, const Value& format_negative,
                           const Value& format_thousands, const Value& format_currency,
                           const Value& exponential_notation) {
  return functions::dcmODD(num, RoundNegTowardZero, format_negative, format_thousands, format_currency,
                           exponential_notation);
}

Value cls_Decimora::dcmEVEN2(const Value& num, const Value& RoundNegAwayFromZero, const Value& format_negative,
                             const Value& format_thousands, const Value& format_currency,
                             const Value& exponential_notation) {
  return functions::dcmEVEN2(num, RoundNegAwayFromZero, format_negative, format_thousands, format_currency,
                             exponential_notation);
}

Value cls_Decimora::dcmODD2(const Value& num, const Value& RoundNegAwayFromZero, const Value& format_negative,
                            const Value& format_thousands, const Value& format_currency,
                            const Value& exponential_notation) {
  return functions::dcmODD2(num, RoundNegAwayFromZero, format_negative, format_thousands, format_currency,
                            exponential_notation);
}

Value cls_Decimora::dcmMOD(const Value& dividend, const Value& divisor, const Value& sign, const Value& format_negative,
                           const Value& format_thousands, const Value& format_currency,
                           const Value& exponential_notation, const Value& maximum_significant_digits) {
  return functions::dcmMOD(dividend, divisor, sign, format_negative, format_thousands, format_currency,
                           exponential_notation, maximum_significant_digits);
}

Value cls_Decimora::dcmMODTRUNC(const Value& dividend, const Value& divisor, const Value& sign,
                                const Value& format_negative, const Value& format_thousands,
                                const Value& format_currency, const Value& exponential_notation,
                                const Value& maximum_significant_digits) {
  return functions::dcmMODTRUNC(dividend, divisor, sign, format_negative, format_thousands, format_currency,
                                exponential_notation, maximum_significant_digits);
}

Value cls_Decimora::dcmREMAINDER(const Value& dividend, const Value& divisor, const Value& sign,
                                 const Value& format_negative, const Value& format_thousands,
                                 const Value& format_currency, const Value& exponential_notation,
                                 const Value& maximum_significant_digits) {
  return functions::dcmREMAINDER(dividend, divisor, sign, format_negative, format_thousands, format_currency,
                                 exponential_notation, maximum_significant_digits);
}

Value cls_Decimora::dcmFACT(const Value& num, const Value& format_negative, const Value& format_thousands,
                            const Value& format_currency, const Value& exponential_notation,
                            const Value& maximum_significant_digits) {
  return functions::dcmFACT(num, format_negative, format_thousands, format_currency, exponential_notation,
                            maximum_significant_digits);
}

Value cls_Decimora::dcmEXP(const Value& num, const Value& exponential_notation,
                           const Value& maximum_significant_digits) {
  return functions::dcmEXP(num, exponential_notation, maximum_significant_digits);
}

Value cls_Decimora::dcmLN(const Value& num, const Value& exponential_notation, const Value& maximum_significant_digits) {
  return functions::dcmLN(num, exponential_notation, maximum_significant_digits);
}

Value cls_Decimora::dcmLOG(const Value& num, const Value& num_base, const Value& exponential_notation,
                           const Value& maximum_significant_digits) {
  return functions::dcmLOG(num, num_base, exponential_notation, maximum_significant_digits);
}

Value cls_Decimora::dcmFACTDOUBLE(const Value& num, const Value& format_negative, const Value& format_thousands,
                                  const Value& format_currency, const Value& exponential_notation,
                                  const Value& maximum_significant_digits) {
  return functions::dcmFACTDOUBLE(num, format_negative, format_thousands, format_currency, exponential_notation,
                                  maximum_significant_digits);
}

Value cls_Decimora::dcmREDUCEFRACTION(const Value& Numerator, const Value& divisor, const Value& simplify_signs,
                                      const Value& always_simplify_fraction, const Value& return_numerator,
                                      const Value& return_divisor, const Value& return_reduced_by,
                                      const Value& fraction_separator) {
  return functions::dcmREDUCEFRACTION(Numerator, divisor, simplify_signs, always_simplify_fraction, return_numerator,
                                      return_divisor, return_reduced_by, fraction_separator);
}

Value cls_Decimora::dcmPi(const Value& digits) { return functions::dcmPI(digits); }

Value cls_Decimora::dcmE(const Value& digits) { return functions::dcmE(digits); }

Value cls_Decimora::dcmPOISSON(const Value& target_num, const Value& average_num, const Value& is_cumulative,
                               const Value& exponential_notation, const Value& maximum_significant_digits,
                               const Value& restrict_input_lengths) {
  return functions::dcmPOISSON(target_num, average_num, is_cumulative, exponential_notation,
                               maximum_significant_digits, restrict_input_lengths);
}

Value cls_Decimora::Get_Mantissa(const Value& num, const Value& as_integer) {
  return functions::Get_Mantissa(num, as_integer);
}

Value cls_Decimora::Get_Exponent(const Value& num) { return functions::Get_Exponent(num); }

Value cls_Decimora::Combine_Mantissa_And_Exponent(const Value& mantissa, const Value& exponent) {
  return functions::Combine_Mantissa_And_Exponent(mantissa, exponent);
}

Value cls_Decimora::Test_Mantissa_And_Exponent(const Value& num) { return functions::Test_Mantissa_And_Exponent(num); }

Value cls_Decimora::dcmSIN(const Value& num, const Value& maxSD) { return functions::dcmSIN(num, maxSD); }
Value cls_Decimora::dcmCOS(const Value& num, const Value& maxSD) { return functions::dcmCOS(num, maxSD); }
Value cls_Decimora::dcmTAN(const Value& num, const Value& maxSD) { return functions::dcmTAN(num, maxSD); }
Value cls_Decimora::dcmRADIANS(const Value& degrees, const Value& maxSD) {
  return functions::dcmRADIANS(degrees, maxSD);
}
Value cls_Decimora::dcmDEGREES(const Value& radians, const Value& maxSD) {
  return functions::dcmDEGREES(radians, maxSD);
}
// The public workers answer as the worksheet functions do.
Value cls_Decimora::Cos_Function(const Value& num, const Value& maxSD) { return functions::dcmCOS(num, maxSD); }
Value cls_Decimora::Tan_Function(const Value& num, const Value& maxSD) { return functions::dcmTAN(num, maxSD); }
Value cls_Decimora::dcmATAN(const Value& num, const Value& maxSD) { return functions::dcmATAN(num, maxSD); }
Value cls_Decimora::dcmASIN(const Value& num, const Value& maxSD) { return functions::dcmASIN(num, maxSD); }
Value cls_Decimora::dcmACOS(const Value& num, const Value& maxSD) { return functions::dcmACOS(num, maxSD); }
Value cls_Decimora::ATan_Function(const Value& num, const Value& maxSD) { return functions::dcmATAN(num, maxSD); }
Value cls_Decimora::ASin_Function(const Value& num, const Value& maxSD) { return functions::dcmASIN(num, maxSD); }
Value cls_Decimora::ACos_Function(const Value& num, const Value& maxSD) { return functions::dcmACOS(num, maxSD); }

Value cls_Decimora::dcmGCD(std::span<const Value> numlist) { return functions::dcmGCD(numlist); }

Value cls_Decimora::dcmGCD2(std::span<const Value> numlist) { return functions::dcmGCD2(numlist); }

Value cls_Decimora::dcmLCM(std::span<const Value> numlist) { return functions::dcmLCM(numlist); }

Value cls_Decimora::dcmLCM2(std::span<const Value> numlist) { return functions::dcmLCM2(numlist); }

Value cls_Decimora::dcmSUM(const Value& rngArray, const Value& format_negative, const Value& format_thousands,
                           const Value& format_currency, const Value& exponential_notation,
                           const Value& maximum_significant_digits) {
  return functions::dcmSUM(rngArray, format_negative, format_thousands, format_currency, exponential_notation,
                           maximum_significant_digits);
}

Value cls_Decimora::dcmSUM2(std::span<const Value> numlist) { return functions::dcmSUM2(numlist); }

Value cls_Decimora::dcmCOUNT(std::span<const Value> numlist) { return functions::dcmCOUNT(numlist); }

Value cls_Decimora::dcmAVERAGE(std::span<const Value> numlist) { return functions::dcmAVERAGE(numlist); }

Value cls_Decimora::dcmPRODUCT(std::span<const Value> numlist) { return functions::dcmPRODUCT(numlist); }

Value cls_Decimora::dcmMAX(std::span<const Value> numlist) { return functions::dcmMAX(numlist); }

Value cls_Decimora::dcmMIN(std::span<const Value> numlist) { return functions::dcmMIN(numlist); }

Value cls_Decimora::dcmSORT(const Value& numlist, const Value& descending, const Value& left_to_right,
                            const Value& fit_to_array, const Value& blank_text, const Value& rows, const Value& cols) {
  return functions::dcmSORT(numlist, descending, left_to_right, fit_to_array, blank_text, rows, cols);
}

Value cls_Decimora::dcmLARGE(const Value& numlist, const Value& k) { return functions::dcmLARGE(numlist, k); }

Value cls_Decimora::dcmSMALL(const Value& numlist, const Value& k) { return functions::dcmSMALL(numlist, k); }

Value cls_Decimora::dcmRANK(const Value& num, const Value& numlist, const Value& ascending,
                            const Value& tie_compensation) {
  return functions::dcmRANK(num, numlist, ascending, tie_compensation);
}

Value cls_Decimora::dcmMEDIAN(std::span<const Value> numlist) { return functions::dcmMEDIAN(numlist); }

Value cls_Decimora::dcmMODE(std::span<const Value> numlist) { return functions::dcmMODE(numlist); }

Value cls_Decimora::dcmEXCLUDE(std::span<const Value> numlist) { return functions::dcmEXCLUDE(numlist); }

Value cls_Decimora::dcmEXCLUDENOTNUM(std::span<const Value> numlist) { return functions::dcmEXCLUDENOTNUM(numlist); }

Value cls_Decimora::dcmEXTRACT(std::span<const Value> numlist) { return functions::dcmEXTRACT(numlist); }

Value cls_Decimora::dcmEXTRACTNUM(std::span<const Value> numlist) { return functions::dcmEXTRACTNUM(numlist); }

Value cls_Decimora::dcmVERSION() { return functions::dcmVERSION(); }

Value cls_Decimora::dcmTEST() { return functions::dcmTEST(); }

Value cls_Decimora::dcmHelpfilePath() { return functions::dcmHelpfilePath(); }

Value cls_Decimora::dcmISERROR(const Value& num) { return functions::dcmISERROR(num); }

Value cls_Decimora::dcmISNUMBER(const Value& num) { return functions::dcmISNUMBER(num); }

}  // namespace decimora
