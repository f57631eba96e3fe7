// Roots of number text (operation 5 of the dispatcher): the square root by
// the Babylonian step with its stall guard, other degrees by Newton's step
// with a ring of recent values against cycles, both started from a
// double-precision estimate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::frame {

// A root whose degree has more digits than this (sign and separator not
// counted) is "#NUM!": each general step raises the iterate to the degree
// minus one, a number of products that grows with the degree's digits, and
// a fractional exponent of a power becomes a root of degree 10^(decimals).
// 100 digits keep the longest such root at the largest precision to
// seconds.
inline constexpr std::size_t kMaxRootDegreeDigits = 100;

// The iterations converge in a few dozen steps from the double estimate;
// this many steps without an answer is "#NUM!", so that no call can run
// without end (the guards of the iterations are expected to end it first).
inline constexpr int kMaxRootSteps = 10000;

// The restart of the general iteration when an iterate is exactly 0: a fixed
// value, so that the same call gives the same digits every time.
inline constexpr std::string_view kRootRestart = "0.5";

// Called by the dispatcher for operation 5 and calling it back: every step
// of the iterations is a dispatcher operation (frame/steps.h, and the
// dispatcher's power for x^(N-1)), so each intermediate is exact arithmetic
// rounded to the precision of its call.
//
// The root of degree N of A. M is the working precision (the caller's
// maxSD + 1); D the digit count of the operands when a caller hands its own
// (omitted: computed from A and N). With restrict_input_lengths, operands of
// more than 16,383 digits in all give "#NUM!". Returns a number text (to be
// composed by the dispatcher) or an error text.
std::string Root_Function(std::string A, std::string N, double M, bool restrict_input_lengths,
                          const Value& D = Value::Omitted());

// The starting value of the iterations for a cleaned A and N: the double
// A^(1/N) written as a host number is (15 significant digits) and expanded;
// for a negative A, minus the root of -A; "1" when neither evaluates. Where
// the double cannot hold A or the root (beyond its range, or below its
// normal range) the estimate comes from A's decimal exponent instead.
std::string RootStartValue(std::string_view A, std::string_view N);

// The iteration steps taken on this thread since it started (square and
// general steps alike), for the tests and the measurements.
std::uint64_t RootStepCount();

}  // namespace decimora::frame
