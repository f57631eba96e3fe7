// The dispatcher's operations as steps on decimal values: what a worker
// computing a chain of operations (a power, a remainder, a sum, and next the
// roots and series) calls instead of the text dispatcher.
//
// Every step answers exactly what the dispatcher (frame/calculate.h) answers
// for the same operands at the same maxSD with the internal-call flag set:
//
//   Step(op, a, b, maxSD) == StepNumber::FromText(
//       CalculateText(op, a.Text(), b.Text(), maxSD))
//
// (tests/test_steps.cpp checks this on random operands at every maxSD). The
// difference is the cost: the operands are read once and the result is
// written once, when the worker finishes, not at every step.
//
// The dispatcher's rules a step reproduces: error texts of the operands pass
// through in the order "#VALUE!", "#NUM!", "#DIV/0!"; maxSD is clamped to
// 0..32,767 and the working precision is W = maxSD + 1; the exact result
// (a quotient: W digits by Osrel_Divide) is rounded half up to W + 1
// significant digits; an integer part that cannot fit a cell is "#NUM!"; a
// text longer than a cell is cut by the composer's length fitting, done
// here on the value (a cut text that ends in zeros is kept, see
// StepNumber::cut).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/decimal.h"

namespace decimora::frame {

// A step's operand or result: an error text, or a decimal value.
struct StepNumber {
  std::string error;      // an error text, or empty
  engine::Decimal value;  // the value when there is no error
  // The text the value was read from where that is not the normal form of
  // the value (a result cut to a cell's length by the composer, or an input
  // such as "7.50"); empty otherwise. Text() gives it back as it was.
  std::string cut;

  StepNumber() = default;
  StepNumber(engine::Decimal v) : value(std::move(v)) {}  // NOLINT: a value is a number
  static StepNumber Error(std::string text);

  // Reads a dispatcher result: an error text (anything holding "#") stays
  // one; a plain number text becomes its value; anything else is "#VALUE!".
  static StepNumber FromText(std::string_view text);

  // Reads an operand as the dispatcher reads its operands (quotes,
  // currency symbol, thousands separators, exponent, parentheses): one of
  // the three error texts stays itself, anything else that is not a number
  // is "#VALUE!". Parse once with this, then chain steps.
  static StepNumber Read(std::string_view text);

  bool IsError() const { return !error.empty(); }
  // The text the dispatcher would have answered.
  std::string Text() const;
  // The value without the error or the cut text (the normal form).
  StepNumber ValueOnly() const;
};

// The precision the dispatcher works at for a maxSD: the maxSD clamped to
// 0..32,767, plus one.
double WorkingPrecision(double maxSD);

// The steps (codes as in Calculate: 1 add, 2 subtract, 3 multiply,
// 4 divide, 5 root, 6 power).
StepNumber StepAdd(const StepNumber& a, const StepNumber& b, double maxSD);
StepNumber StepSubtract(const StepNumber& a, const StepNumber& b, double maxSD);
StepNumber StepMultiply(const StepNumber& a, const StepNumber& b, double maxSD);
StepNumber StepDivide(const StepNumber& a, const StepNumber& b, double maxSD);
// The dispatcher's power as an internal operation: a nested call, which
// does not re-apply the input-length restriction of a user's call.
// Dispatcher and power recurse into each other: the power forms its
// products through StepMultiply and its reciprocal through StepDivide, and
// a fractional exponent's root comes back through the dispatcher.
StepNumber StepPower(const StepNumber& b, const StepNumber& e, double maxSD);
// The dispatcher's root of degree n as an internal operation (input lengths
// not restricted): what the series and the inverse functions take their
// square roots with.
StepNumber StepRoot(const StepNumber& a, const StepNumber& n, double maxSD);
StepNumber Step(std::int16_t code, const StepNumber& a, const StepNumber& b, double maxSD);

// The composer's rounding, cell test and length fitting of an exact result
// at working precision W, in place: n is rounded to W + 1 significant
// digits; an integer part too long for a cell makes n "#NUM!"; a text longer
// than a cell is cut as the composer cuts it (n.cut then holds the cut text
// where it is not the normal form of the value).
void ComposeStep(StepNumber& n, double W);
// True when ComposeStep(n, W) would leave n's value as it is (it has no more
// digits than the rounding keeps and its text fits a cell), so that a step
// can take n itself without a copy.
bool ComposeKeeps(const StepNumber& n, double W);

}  // namespace decimora::frame
