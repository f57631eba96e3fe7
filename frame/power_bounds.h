// When a whole-number power certainly cannot be shown: |b|^e beyond a cell
// (overflow, "#NUM!") or below what a cell shows at the call's precision
// (underflow, 0), decided from logarithms before any product is formed. The
// decisions allow for the rounding of every product of the splitting, so a
// power is never refused that the products would have shown.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/steps.h"

namespace decimora::frame {

// |b|^e has an integer part of a cell's length or more (b a plain number
// text, e a digit string). M is the working precision.
bool CertainOverflow(std::string_view b, std::string_view e, double M);

// |b|^e is certainly below what the products of the splitting keep, so that
// the power is 0 (e a digit string, or a machine integer).
bool CertainUnderflow(const StepNumber& b, std::string_view e, double M);
bool CertainUnderflow(const StepNumber& b, std::uint64_t e, double M);

// A cheap test that neither bound can be reached: e' * (|digits - fraction
// digits| + 1) <= 32,000 for e' the exponent's leading digit plus one times
// its power of ten. When true the logarithms need not be taken.
bool FarFromTheLimits(const StepNumber& b, std::uint64_t e);

}  // namespace decimora::frame
