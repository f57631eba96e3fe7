// The square-root worksheet functions (of a number, and of a number times pi): the root of operation 5 of the
// dispatcher (frame/root.h) composed with the format options. The root of
// any degree is dcmROOT, with the operators (functions/operators.h).
#pragma once

#include <string>

#include "platform/variant.h"

namespace decimora::functions {

// The square root of num to maxSD (omitted, empty or not a number: the
// default) composed with the three format options; a negative number is
// "#NUM!" (-0 is zero), a text that is not a number "#VALUE!", error texts
// pass through.
std::string Sqrt_Function(const Value& num, const Value& format_thousands = {}, const Value& format_currency = {},
                          const Value& exponential_notation = {}, const Value& maxSD = {});

// The square root of num times pi (pi cut to maxSD significant digits, the
// product at maxSD), otherwise as Sqrt_Function.
std::string SqrtPi_Function(const Value& num, const Value& format_thousands = {}, const Value& format_currency = {},
                            const Value& exponential_notation = {}, const Value& maxSD = {});

Value dcmSQRT(const Value& num, const Value& format_thousands = {}, const Value& format_currency = {},
              const Value& exponential_notation = {}, const Value& maxSD = {});
Value dcmSQRTPI(const Value& num, const Value& format_thousands = {}, const Value& format_currency = {},
                const Value& exponential_notation = {}, const Value& maxSD = {});

}  // namespace decimora::functions
