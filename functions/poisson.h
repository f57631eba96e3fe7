// The Poisson distribution: the probability of exactly k events,
// e^(-lambda) lambda^k / k!, or of at most k events, the sum of those terms
// for every whole number from 0 to k, at up to 32,767 significant digits.
//
// Every step is one dispatcher operation at the call's maxSD (internal call,
// no format options): e^(-lambda) is the stored e cut to maxSD digits raised
// to -lambda; each term is lambda^k (a power, with the call's input-length
// restriction), times e^(-lambda), divided by k! (the factorial at the call's
// maxSD); the cumulative sum adds the terms in order.
#pragma once

#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::functions {

// --- Worksheet function -------------------------------------------------------
// target_num: k, a non-negative number (its integer part counts) or TRUE/FALSE
// (1/0, any letter case); average_num: lambda, the same but not cut;
// is_cumulative: a Boolean, nothing else; exponential_notation and
// restrict_input_lengths: omitted or a Boolean (restrict omitted: TRUE);
// maximum_significant_digits: omitted or empty the default, else a number
// (ties to even, above 32,767 read as 32,767). "#NUM!" for a negative k or
// lambda and for k above 9,273 (the factorial's limit); "#VALUE!" for an
// argument that cannot be read. The result is positive, composed with
// exponential_notation and maxSD only.
Value dcmPOISSON(const Value& target_num, const Value& average_num, const Value& is_cumulative,
                 const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
                 const Value& restrict_input_lengths = {});
std::string Poisson_Function(const Value& target_num, const Value& average_num, const Value& is_cumulative,
                             const Value& exponential_notation = {}, const Value& maximum_significant_digits = {},
                             const Value& restrict_input_lengths = {});

// --- Workers (k a whole-number text, lambda a non-negative number text) -------

// e^(-lambda): Get_E(maxSD) raised to -lambda.
std::string Exp_Negative(std::string_view lambda, double maxSD, bool restrict_input_lengths);
// One term: lambda^k, times E, divided by k! (at maxSD, exact while it fits).
std::string Poisson_Term(std::string_view k, std::string_view lambda, std::string_view E, double maxSD,
                         bool restrict_input_lengths);
// One term, or the sum of the terms for 0..k, with E = Exp_Negative(lambda).
std::string Poisson_Sum(std::string_view k, std::string_view lambda, bool is_cumulative, double maxSD,
                        bool restrict_input_lengths);
// The cumulative branch of Poisson_Sum for a given E: sum of
// Poisson_Term(i, lambda, E) for i = 0, 1, ..., k, added in order at maxSD,
// the same digits in linear work (the factorial of each term continues the
// previous one; the power is the exact product while that has no more digits
// than the power keeps). k above 9,273 makes the sum "#NUM!" (or "#VALUE!"
// when E or lambda is that) at once: the factorial refuses the count.
std::string Poisson_CumulativeSum(std::string_view k, std::string_view lambda, std::string_view E, double maxSD,
                                  bool restrict_input_lengths);

}  // namespace decimora::functions
