// The trigonometric family: sine, cosine and tangent of an angle in radians
// by Taylor series, and the conversions between degrees and radians.
//
// Every arithmetic step is one dispatcher operation at the call's maxSD
// (frame/steps.h), with no guard digits: the digits are those of the
// written algorithm. Pi is the stored constant cut to maxSD digits
// (functions/constants.h). The design shared by the three functions:
//   1. reduce the angle to [0, pi/2] and a quadrant (Reduce_Angle);
//   2. sum the series at the reduced angle when it is at most pi/4, else the
//      co-function's series at pi/2 minus it;
//   3. give the value the quadrant's sign;
//   4. answer "0" for a value below 10^-maxSD in magnitude.
// Workers follow the conventions of functions/shared.h.
#pragma once

#include <string>
#include <string_view>

#include "frame/steps.h"
#include "platform/variant.h"

namespace decimora::functions {

// --- Worksheet functions ------------------------------------------------------
// maxSD omitted or not a number: the default; above 32,767: 32,767.
// Error texts pass through; a num that is not a number gives the host error
// #VALUE!.
Value dcmSIN(const Value& num, const Value& maxSD = {});
Value dcmCOS(const Value& num, const Value& maxSD = {});
Value dcmTAN(const Value& num, const Value& maxSD = {});
// maxSD is used as given (omitted: the default): beyond pi's stored length
// the answer is "#NUM!".
Value dcmRADIANS(const Value& degrees, const Value& maxSD = {});
Value dcmDEGREES(const Value& radians, const Value& maxSD = {});

// --- Workers ------------------------------------------------------------------
// The text answers of the worksheet functions. Throw frame::CallFailed where
// num is not a number (letters, a host error, an array). An empty num reads
// as 0. A tangent at an odd multiple of the cut pi/2 (its cotangent series
// is zero) is "#DIV/0!"; an angle so large that the quadrant cannot be told
// at maxSD is "#NUM!".
std::string Sin_Function(const Value& num, const Value& maxSD = {});
std::string Cos_Function(const Value& num, const Value& maxSD = {});
std::string Tan_Function(const Value& num, const Value& maxSD = {});
// pi / 180 * degrees and 180 / pi * radians.
std::string Radians_Function(const Value& angle, const Value& maxSD = {});
std::string Degrees_Function(const Value& angle, const Value& maxSD = {});

// The angle reduced to the first quadrant: Alpha between 0 and pi/2 (up to
// the rounding of maxSD), and the quadrant "1" to "4" the angle lies in.
struct type_Reduce90 {
  std::string Alpha;
  std::string Quadrant;
};
// num = q * pi/2 + r with q = floor(num / (pi/2)); Alpha is r in quadrants 1
// and 3, pi/2 - r in quadrants 2 and 4. An error text (for example an
// integer quotient too long for a cell) comes back as Alpha with an empty
// Quadrant; so does "#NUM!" when the quadrant does not come out as 1 to 4
// (an angle far too large for maxSD).
type_Reduce90 Reduce_Angle(std::string_view num, double maxSD);
// x - x^3/3! + ...; 1 - x^2/2! + ...; and sin x / cos x from both series
// summed in one loop. Meant for 0 <= x <= pi/4. Each stops once a term is
// below 10^-maxSD (or zero).
std::string Sin_Series(std::string_view x, double maxSD);
std::string Cos_Series(std::string_view x, double maxSD);
std::string Tan_Series(std::string_view x, double maxSD);
// E with 10^E <= |x| < 10^(E+1), as a whole-number text; "0" for zero.
std::string Get_Magnitude(std::string_view x);

// --- Shared with the inverse functions ------------------------------------------
namespace detail {

// maxSD of the trigonometric calls: omitted or not a number the default,
// clamped to 0..32,767.
double TrigMaxSD(const Value& maxSD);
// The text of num as the host gives it; throws CallFailed where there is
// none or where it is neither a number nor an error text. The empty text
// reads as "0".
std::string AngleText(const Value& num);
// Get_Pi(maxSD) read as the dispatcher reads an operand.
frame::StepNumber PiStep(double maxSD);
// The sign workers and the integer part on a step's value, answering what
// ChangeSign_Function, Neg_Function, Abs_Function and Int_Function answer
// for its text. Error texts pass through.
frame::StepNumber ChangeSignStep(const frame::StepNumber& n);
frame::StepNumber ChangeSignStep(frame::StepNumber&& n);
frame::StepNumber NegStep(const frame::StepNumber& n);
frame::StepNumber AbsStep(const frame::StepNumber& n);
frame::StepNumber IntStep(const frame::StepNumber& n);
// The stopping test of every series: -maxSD > Get_Magnitude(term); a zero
// term (whose magnitude reads 0) ends the series too.
bool TermNegligible(const frame::StepNumber& term, double maxSD);
// -1, 0, 1 as a < b, a = b, a > b; throws CallFailed for an error (the
// comparison of an error text fails the call).
int CompareSteps(const frame::StepNumber& a, const frame::StepNumber& b);
frame::StepNumber Whole(std::int64_t k);

}  // namespace detail

}  // namespace decimora::functions
