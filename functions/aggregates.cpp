// Range aggregates: the sum of one range (dcmSUM) and the folds of an
// open-ended list of values and ranges (sum, count, average, product,
// maximum, minimum). Values that are not numbers are skipped; "FORMAT:"
// directives in the list choose how the result is written.
//
// Sums and products are accumulated at the full precision of the engine and
// rounded once, when the result is composed: so the answer does not depend
// on where in the list a directive's "MSD=" stands, and no addend is lost
// to the rounding of an intermediate sum.

#include "functions/aggregates.h"

#include <span>
#include <string>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/guard.h"
#include "frame/lists.h"
#include "frame/restrictionator.h"
#include "frame/steps.h"

namespace decimora::functions {

namespace {

using engine::HasError;

// Whether a value text reads as a number: the same reading the dispatcher
// gives its operands.
bool ReadsAsNumber(std::string_view upper) { return !upper.empty() && !HasError(engine::ReadNumberText(upper)); }

// Folds the data values of a list with one dispatcher operation (a step
// on decimal values, so that the accumulator is not written out and read
// back per value). A value that is not a number is skipped; a number whose
// operation fails (the result leaves the range a cell can show) ends the
// fold with that error, since skipping it would report a wrong total as a
// right one. Returns the accumulator and counts the accepted values.
frame::StepNumber Fold(std::span<const Value> list, frame::DirectiveReader& directives, std::int16_t code,
                       frame::StepNumber start, double* count) {
  frame::StepNumber acc = std::move(start);
  const frame::WalkEnd end = frame::WalkList(list, directives, [&](const frame::ListItem& item) {
    frame::StepNumber r = frame::Step(code, acc, frame::StepNumber::Read(item.upper), frame::kMaxSignificantDigits);
    if (r.IsError()) {
      if (!ReadsAsNumber(item.upper)) return true;
      acc = std::move(r);
      return false;
    }
    acc = std::move(r);
    if (count != nullptr) *count += 1;
    return true;
  });
  return end == frame::WalkEnd::kValueTooLong ? frame::StepNumber::Error("#NUM!") : acc;
}

std::string CountText(double count) { return std::to_string(static_cast<unsigned long long>(count)); }

}  // namespace

std::string SumCountAverage_Function(std::span<const Value> numlist, bool sum_only, bool count_only) {
  frame::DirectiveReader directives(frame::kMaxSignificantDigits);
  double count = 0;
  std::string acc;
  if (count_only) {
    // A count needs no sum: a value counts when it passes the number test
    // of the comparisons (so two numbers whose sum would not fit a cell
    // still count as two).
    const frame::WalkEnd end = frame::WalkList(numlist, directives, [&](const frame::ListItem& item) {
      if (frame::IsNumberText(item.upper)) count += 1;
      return true;
    });
    acc = end == frame::WalkEnd::kValueTooLong ? std::string("#NUM!") : CountText(count);
  } else {
    frame::StepNumber sum = Fold(numlist, directives, engine::kAdd, engine::Decimal(), &count);
    if (!sum_only && !sum.IsError() && !sum.value.IsZero() && count != 0) {
      sum = frame::StepDivide(sum, engine::Decimal::Integer(static_cast<std::uint64_t>(count)),
                              directives.CurrentMaxSD());
    }
    acc = sum.Text();
  }
  return frame::ComposeListResult(acc, directives.Options());
}

std::string Product_Function(std::span<const Value> numlist) {
  frame::DirectiveReader directives(frame::kMaxSignificantDigits);
  const std::string product = Fold(numlist, directives, engine::kMultiply, engine::Decimal::Integer(1), nullptr).Text();
  return frame::ComposeListResult(product, directives.Options());
}

std::string MaxMin_Function(std::span<const Value> numlist, bool is_max) {
  frame::DirectiveReader directives(frame::kMaxSignificantDigits);
  std::string best;
  bool have_best = false;
  const frame::WalkEnd end = frame::WalkList(numlist, directives, [&](const frame::ListItem& item) {
    // The first number found is the provisional extreme. A text that is not
    // a number is skipped here as everywhere else in the list (taken as the
    // extreme, it would fail every later comparison and become the result).
    if (!have_best) {
      if (frame::IsNumberText(item.upper)) {
        best = item.upper;
        have_best = true;
      }
      return true;
    }
    // Strictly greater: of equal values the earlier one stays.
    const Value answer = is_max ? frame::CompareNumbers(item.upper, best, false, true)
                                : frame::CompareNumbers(best, item.upper, false, true);
    if (answer.isBool() && answer.boolean()) best = item.upper;
    return true;
  });
  if (end == frame::WalkEnd::kValueTooLong) return "#NUM!";
  return frame::ComposeListResult(best, directives.Options());
}

Value dcmSUM(const Value& rngArray, const Value& format_negative, const Value& format_thousands,
             const Value& format_currency, const Value& exponential_notation, const Value& maximum_significant_digits) {
  // Only a range can be summed; a single value is not one.
  if (!rngArray.isArray()) return Value::Error(HostError::Value);
  return frame::GuardCall([&] {
    const Value omitted;
    // Cells are not filtered: the first one that is not a number makes the
    // sum an error value, which every later addition passes on.
    Value sum = Value::Text("0");
    for (const Value& cell : rngArray.array().cells) {
      sum = Value::Text(frame::Calculate(engine::kAdd, sum, cell, omitted, omitted, omitted, omitted,
                                         Value::Number(frame::kMaxSignificantDigits), true));
    }
    // One more addition, of 0, applies the caller's options to the sum.
    return frame::Calculate(engine::kAdd, sum, Value::Text("0"), format_negative, format_thousands, format_currency,
                            exponential_notation, maximum_significant_digits, true);
  });
}

Value dcmSUM2(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return functions::SumCountAverage_Function(numlist, true, false); });
}

Value dcmCOUNT(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return functions::SumCountAverage_Function(numlist, false, true); });
}

Value dcmAVERAGE(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return functions::SumCountAverage_Function(numlist, false, false); });
}

Value dcmPRODUCT(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return functions::Product_Function(numlist); });
}

Value dcmMAX(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return functions::MaxMin_Function(numlist, true); });
}

Value dcmMIN(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return functions::MaxMin_Function(numlist, false); });
}

}  // namespace decimora::functions
