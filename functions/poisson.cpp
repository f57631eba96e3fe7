// The Poisson distribution through the dispatcher's steps.
#include "functions/poisson.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/decimal.h"
#include "engine/errors.h"
#include "engine/number_text.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/guard.h"
#include "frame/restrictionator.h"
#include "frame/steps.h"
#include "functions/constants.h"
#include "functions/remainder.h"
#include "functions/rounding.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

namespace {

using frame::StepNumber;

const Value kNone;

// A dispatcher operation as the internal call makes it: format options
// omitted, maxSD as given, the call's input-length restriction (which only
// the power heeds).
std::string Dispatch(std::int16_t code, std::string_view a, std::string_view b, double maxSD, bool restrict) {
  return frame::Calculate(code, Value::Text(a), Value::Text(b), kNone, kNone, kNone, kNone, Value::Number(maxSD), true,
                          restrict);
}

// k! at the call's maxSD: the factorial's own products and composition,
// never the default precision (k! is exact while it has no more digits than
// the call keeps).
std::string Factorial(std::string_view k, double maxSD) {
  return Fact_Function(Value::Text(k), kNone, kNone, kNone, kNone, Value::Number(maxSD));
}

// target_num and average_num: a non-negative number text (cut to its
// integer part for k), or TRUE / FALSE in any letter case. nullopt with the
// error text in *error otherwise.
std::optional<std::string> ReadCount(const Value& v, bool truncate, std::string* error) {
  const auto text = platform::VariantToText(v);
  if (!text) {
    *error = "#VALUE!";
    return std::nullopt;
  }
  if (frame::IsNumberText(*text)) {
    if (!engine::IsNonNegative(*text)) {
      *error = "#NUM!";
      return std::nullopt;
    }
    return truncate ? Trunc_Function(*text) : *text;
  }
  std::string upper = *text;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (upper == "TRUE") return std::string("1");
  if (upper == "FALSE") return std::string("0");
  *error = "#VALUE!";
  return std::nullopt;
}

// The factorial refuses every count above this; a term beyond it is an error
// whatever its power.
constexpr std::uint32_t kLastFactorial = static_cast<std::uint32_t>(kMaxFactorialArgument);

// A whole-number text (digits only) as a count, capped at kLastFactorial + 1.
std::optional<std::uint32_t> CappedCount(std::string_view k) {
  if (k.empty() || k.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const std::size_t first = std::min(k.find_first_not_of('0'), k.size());
  k.remove_prefix(first);
  if (k.size() > 5) return kLastFactorial + 1;
  std::uint32_t n = 0;
  for (char c : k) n = n * 10 + static_cast<std::uint32_t>(c - '0');
  return std::min(n, kLastFactorial + 1);
}

// The term of a count the factorial refuses: lambda^k times E divided by
// "#NUM!", which is that error unless the product already carries the more
// urgent "#VALUE!" (from E, or from a lambda that is not a number: the
// power of a number by a whole number is a number or "#NUM!"). A sum that
// reaches such a count is the same error: its earlier terms (a number, or
// "#NUM!" from an overflow) cannot outrank it.
std::string RefusedTerm(std::string_view E, std::string_view lambda) {
  return E == "#VALUE!" || StepNumber::Read(lambda).error == "#VALUE!" ? "#VALUE!" : "#NUM!";
}

}  // namespace

std::string Exp_Negative(std::string_view lambda, double maxSD, bool restrict_input_lengths) {
  return Dispatch(6, Get_E(maxSD), ChangeSign_Function(lambda), maxSD, restrict_input_lengths);
}

std::string Poisson_Term(std::string_view k, std::string_view lambda, std::string_view E, double maxSD,
                         bool restrict_input_lengths) {
  const auto count = CappedCount(k);
  if (count && *count > kLastFactorial) return RefusedTerm(E, lambda);
  const std::string a = Dispatch(6, lambda, k, maxSD, restrict_input_lengths);
  const std::string b = Dispatch(3, E, a, maxSD, restrict_input_lengths);
  return Dispatch(4, b, Factorial(k, maxSD), maxSD, restrict_input_lengths);
}

std::string Poisson_CumulativeSum(std::string_view k, std::string_view lambda, std::string_view E, double maxSD,
                                  bool restrict_input_lengths) {
  const auto count = CappedCount(k);
  if (!count) return "#VALUE!";
  if (*count > kLastFactorial) return RefusedTerm(E, lambda);
  const std::uint32_t last = *count;
  const double W = frame::WorkingPrecision(maxSD);
  const StepNumber e = StepNumber::Read(E);
  const StepNumber base = StepNumber::Read(lambda);

  // The factorial's precision and composition, as Fact_Function reads them.
  const type_Restrictionator factOptions =
      detail::FormatOptions(kNone, kNone, kNone, kNone, Value::Number(maxSD));
  // i! is (i-1)! times i, one more product of the same chain of dispatcher
  // products the factorial forms from 1 upwards; the composition follows.
  StepNumber factorialChain = engine::Decimal::Integer(1);

  // lambda^i is the exact product lambda^(i-1) * lambda while that has no
  // more digits than the power's result keeps and fits a cell: then every
  // product inside the power was exact too and the power answers it. Past
  // that (and for a lambda the input restriction might refuse) the power
  // itself, as written.
  // A lambda this short keeps every power within the input restriction, so
  // the power is the dispatcher's step on the values read once.
  constexpr std::size_t kSurelyUnrestricted = 16'000;
  const bool powerStep = !base.IsError() && (!restrict_input_lengths || base.Text().size() <= kSurelyUnrestricted);
  bool exactPower = powerStep;
  engine::Decimal power = engine::Decimal::Integer(1);

  StepNumber sum = engine::Decimal();
  for (std::uint32_t i = 0; i <= last; ++i) {
    const std::string iText = std::to_string(i);
    StepNumber a;
    if (exactPower) {
      if (i > 0) power = engine::Multiply(power, base.value);
      a = StepNumber(power);
      if (!frame::ComposeKeeps(a, W)) exactPower = false;
    }
    if (!exactPower) {
      a = powerStep ? frame::StepPower(base, engine::Decimal::Integer(i), maxSD)
                    : StepNumber::FromText(Dispatch(6, lambda, iText, maxSD, restrict_input_lengths));
    }
    const StepNumber b = frame::StepMultiply(e, a, maxSD);

    if (i > 0 && !factorialChain.IsError()) {
      factorialChain = frame::StepMultiply(factorialChain, engine::Decimal::Integer(i), factOptions.maxSD);
    }
    const std::string chain = factorialChain.Text();
    const std::string f = engine::HasError(chain) ? chain : frame::ComposeNumberText(chain, factOptions, true);

    sum = frame::StepAdd(sum, frame::StepDivide(b, StepNumber::Read(f), maxSD), maxSD);
    // Nothing outranks "#VALUE!": the remaining terms cannot change it.
    if (sum.IsError() && sum.error == "#VALUE!") return sum.error;
  }
  return sum.Text();
}

std::string Poisson_Sum(std::string_view k, std::string_view lambda, bool is_cumulative, double maxSD,
                        bool restrict_input_lengths) {
  const std::string E = Exp_Negative(lambda, maxSD, restrict_input_lengths);
  if (!is_cumulative) return Poisson_Term(k, lambda, E, maxSD, restrict_input_lengths);
  return Poisson_CumulativeSum(k, lambda, E, maxSD, restrict_input_lengths);
}

std::string Poisson_Function(const Value& target_num, const Value& average_num, const Value& is_cumulative,
                             const Value& exponential_notation, const Value& maximum_significant_digits,
                             const Value& restrict_input_lengths) {
  std::string error;
  const auto k = ReadCount(target_num, true, &error);
  if (!k) return error;
  const auto lambda = ReadCount(average_num, false, &error);
  if (!lambda) return error;
  if (!is_cumulative.isBool()) return "#VALUE!";
  if (!exponential_notation.isOmitted() && !exponential_notation.isBool()) return "#VALUE!";

  double maxSD;
  if (maximum_significant_digits.isOmitted() || maximum_significant_digits.isEmpty()) {
    maxSD = std::nearbyint(frame::DefaultMaxSD());
  } else {
    const auto d = platform::VariantToDouble(maximum_significant_digits);
    if (!d) return "#VALUE!";
    if (*d > frame::kMaxSignificantDigits) {
      maxSD = frame::kMaxSignificantDigits;
    } else {
      maxSD = std::nearbyint(*d);
      // A whole number the host cannot hold in 32 bits fails the call.
      if (maxSD < -2147483648.0) return "#VALUE!";
    }
  }
  if (!restrict_input_lengths.isOmitted() && !restrict_input_lengths.isBool()) return "#VALUE!";
  const bool restrict = restrict_input_lengths.isOmitted() || restrict_input_lengths.boolean();

  const std::string value = Poisson_Sum(*k, *lambda, is_cumulative.boolean(), maxSD, restrict);

  type_Restrictionator options =
      frame::Restrictionator(kNone, kNone, kNone, exponential_notation.isOmitted() ? Value::Bool(false)
                                                                                   : exponential_notation,
                             Value::Number(maxSD), kNone, kNone);
  options.maxSD = std::nearbyint(options.maxSD);
  return frame::ComposeNumberText(value, options, true);
}

Value dcmPOISSON(const Value& target_num, const Value& average_num, const Value& is_cumulative,
                 const Value& exponential_notation, const Value& maximum_significant_digits,
                 const Value& restrict_input_lengths) {
  return frame::GuardCall([&] {
    return Poisson_Function(target_num, average_num, is_cumulative, exponential_notation, maximum_significant_digits,
                            restrict_input_lengths);
  });
}

}  // namespace decimora::functions
