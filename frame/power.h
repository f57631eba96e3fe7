// Powers of number text (operation 6 of the dispatcher): the special cases,
// whole-number exponents by repeated multiplication or by splitting the
// exponent, and the seam where fractional exponents will take a root.
#pragma once

#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::frame {

// Called by the dispatcher for operation 6 and calling it back through the
// steps (frame/steps.h): dispatcher -> power -> steps -> (dispatcher for the
// rare results a cell cuts, and for nested powers) -> power ...
//
// B raised to E, each product and reciprocal a dispatcher operation (so each
// intermediate is rounded to the precision of its call). M is the working
// precision (the caller's maxSD + 1); D the digit count of the operands when
// a caller hands its own (omitted: computed from B and E). With
// restrict_input_lengths, operands of more than 16,383 digits in all give
// "#NUM!". A fractional exponent gives "#VALUE!" for now (roots are not
// available yet). Returns a number text or an error text.
std::string Power_Function(std::string B, std::string E, double M, bool restrict_input_lengths,
                           const Value& D = Value::Omitted());

// b raised to e for a whole-number exponent e > 3 (digit string), written as
// e = h*q + r with the split chosen by a short search; b^h, (b^h)^q and b^r
// are formed recursively and multiplied at precision M.
std::string PowerBySplitting(std::string_view b, std::string_view e, double M);

}  // namespace decimora::frame
