// The inverse trigonometric family: arctangent by its series after two
// reductions, and the arcsine and arccosine through the arctangent of
// x / sqrt(1 - x^2) and sqrt(1 - x^2) / x.
//
// As for the trigonometric family (functions/trig.h), every arithmetic step
// is one dispatcher operation at the call's maxSD, and pi is the stored
// constant cut to maxSD digits. The arctangent takes the reciprocal of an
// argument above 1 and, above 0.4, uses atan y = pi/4 + atan((y - 1)/(y + 1)),
// so that its series never sees more than 3/7 in magnitude.
#pragma once

#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::functions {

// --- Worksheet functions ------------------------------------------------------
// maxSD omitted or not a number: the default; above 32,767: 32,767. Error
// texts pass through; a num that is not a number gives the host error
// #VALUE!; dcmASIN and dcmACOS answer "#NUM!" outside [-1, 1].
Value dcmATAN(const Value& num, const Value& maxSD = {});
Value dcmASIN(const Value& num, const Value& maxSD = {});
Value dcmACOS(const Value& num, const Value& maxSD = {});

// --- Workers ------------------------------------------------------------------
// The text answers of the worksheet functions; throw frame::CallFailed where
// num is not a number. The arcsine answers pi * 0.5 and pi * -0.5 at 1 and
// -1; the arccosine 0, pi * 0.5 and the cut pi itself at 1, 0 and -1, each
// found by an exact comparison.
std::string ATan_Function(const Value& num, const Value& maxSD = {});
std::string ASin_Function(const Value& num, const Value& maxSD = {});
std::string ACos_Function(const Value& num, const Value& maxSD = {});

// x - x^3/3 + x^5/5 - ..., until a power term is below 10^-maxSD (or zero).
std::string ATan_Series(std::string_view x, double maxSD);

}  // namespace decimora::functions
