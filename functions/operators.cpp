#include "functions/operators.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "platform/convert.h"

namespace decimora::functions {

namespace {
const Value kOmitted;

// The comparison functions read both arguments as the host writes them and
// answer the Boolean's text (True/False) or the error text.
Value Compare(const Value& number1, const Value& number2, bool or_equal, bool greater, bool swap, bool invert) {
  const auto a = platform::VariantToText(number1);
  const auto b = platform::VariantToText(number2);
  if (!a || !b) return Value::Text("#VALUE!");
  Value answer =
      swap ? frame::CompareNumbers(*b, *a, or_equal, greater) : frame::CompareNumbers(*a, *b, or_equal, greater);
  if (!answer.isBool()) return answer;
  const bool result = invert ? !answer.boolean() : answer.boolean();
  return Value::Text(result ? "True" : "False");
}
}  // namespace

Value dcmADD(const Value& number1, const Value& number2, const Value& format_negative, const Value& format_thousands,
             const Value& format_currency, const Value& exponential_notation, const Value& maximum_significant_digits,
             const Value& format_decimal_place, const Value& preserve_decimal_place) {
  return Value::Text(frame::Calculate(engine::kAdd, number1, number2, format_negative, format_thousands,
                                      format_currency, exponential_notation, maximum_significant_digits, false, true,
                                      kOmitted, format_decimal_place, preserve_decimal_place));
}

Value dcmSUBTRACT(const Value& number1, const Value& number2, const Value& format_negative,
                  const Value& format_thousands, const Value& format_currency, const Value& exponential_notation,
                  const Value& maximum_significant_digits, const Value& format_decimal_place,
                  const Value& preserve_decimal_place) {
  return Value::Text(frame::Calculate(engine::kSubtract, number1, number2, format_negative, format_thousands,
                                      format_currency, exponential_notation, maximum_significant_digits, false, true,
                                      kOmitted, format_decimal_place, preserve_decimal_place));
}

Value dcmMULTIPLY(const Value& number1, const Value& number2, const Value& format_negative,
                  const Value& format_thousands, const Value& format_currency, const Value& exponential_notation,
                  const Value& maximum_significant_digits, const Value& format_decimal_place,
                  const Value& preserve_decimal_place) {
  return Value::Text(frame::Calculate(engine::kMultiply, number1, number2, format_negative, format_thousands,
                                      format_currency, exponential_notation, maximum_significant_digits, false, true,
                                      kOmitted, format_decimal_place, preserve_decimal_place));
}

Value dcmDIVIDE(const Value& number1, const Value& number2, const Value& format_negative, const Value& format_thousands,
                const Value& format_currency, const Value& exponential_notation,
                const Value& maximum_significant_digits, const Value& format_decimal_place,
                const Value& preserve_decimal_place) {
  return Value::Text(frame::Calculate(engine::kDivide, number1, number2, format_negative, format_thousands,
                                      format_currency, exponential_notation, maximum_significant_digits, false, true,
                                      kOmitted, format_decimal_place, preserve_decimal_place));
}

namespace {
// dcmPOWER and dcmROOT: the dispatcher with the input restriction. The
// host's marker for a missing argument converts to TRUE; any other value
// must convert to a Boolean, or the call fails.
Value RootOrPower(std::int16_t code, const Value& number1, const Value& number2, const Value& format_negative,
                  const Value& format_thousands, const Value& format_currency, const Value& exponential_notation,
                  const Value& maximum_significant_digits, const Value& restrict_input_lengths,
                  const Value& format_decimal_place, const Value& preserve_decimal_place) {
  bool restrict = true;
  if (!restrict_input_lengths.isOmitted()) {
    const std::optional<bool> r = platform::VariantToBoolean(restrict_input_lengths);
    if (!r) return Value::Error(HostError::Value);
    restrict = *r;
  }
  return Value::Text(frame::Calculate(code, number1, number2, format_negative, format_thousands, format_currency,
                                      exponential_notation, maximum_significant_digits, false, restrict, kOmitted,
                                      format_decimal_place, preserve_decimal_place));
}
}  // namespace

Value dcmPOWER(const Value& number1, const Value& number2, const Value& format_negative, const Value& format_thousands,
               const Value& format_currency, const Value& exponential_notation, const Value& maximum_significant_digits,
               const Value& restrict_input_lengths, const Value& format_decimal_place,
               const Value& preserve_decimal_place) {
  return RootOrPower(engine::kPower, number1, number2, format_negative, format_thousands, format_currency,
                     exponential_notation, maximum_significant_digits, restrict_input_lengths, format_decimal_place,
                     preserve_decimal_place);
}

Value dcmROOT(const Value& number1, const Value& number2, const Value& format_negative, const Value& format_thousands,
              const Value& format_currency, const Value& exponential_notation, const Value& maximum_significant_digits,
              const Value& restrict_input_lengths, const Value& format_decimal_place,
              const Value& preserve_decimal_place) {
  return RootOrPower(engine::kRoot, number1, number2, format_negative, format_thousands, format_currency,
                     exponential_notation, maximum_significant_digits, restrict_input_lengths, format_decimal_place,
                     preserve_decimal_place);
}

namespace {
// A 32-bit integer argument as the host converts it (halves to even).
std::optional<std::int32_t> ToLong(const Value& v) {
  const auto d = platform::VariantToDouble(v);
  if (!d) return std::nullopt;
  const double r = std::nearbyint(*d);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
  return static_cast<std::int32_t>(r);
}
}  // namespace

engine::type_Division_Osrel Osrel_Divide(const Value& iBig, const Value& kBig, const Value& Precision) {
  try {
    auto i = platform::VariantToText(iBig);
    auto k = platform::VariantToText(kBig);
    const auto P = ToLong(Precision);
    if (!i || !k || !P) return {"#VALUE!", 0};
    return engine::Osrel_Divide(*i, *k, *P);
  } catch (...) {
    return {"#VALUE!", 0};
  }
}

engine::type_Division_Osrel myInverse5(const Value& kBig, const Value& p) {
  try {
    const auto k = platform::VariantToText(kBig);
    const auto n = ToLong(p);
    if (!k || !n) return {"#VALUE!", 0};
    return engine::myInverse5(*k, *n);
  } catch (...) {
    return {"#VALUE!", 0};
  }
}

Value DivisionDecimalPosition(const Value& divisor, const Value& dividend) {
  const auto a = platform::VariantToText(divisor);
  const auto b = platform::VariantToText(dividend);
  if (!a || !b) return Value::Error(HostError::Value);
  return Value::Number(engine::DivisionDecimalPosition(*a, *b));
}

Value Min(const Value& num1, const Value& num2) { return engine::Min(num1, num2); }
Value Max(const Value& num1, const Value& num2) { return engine::Max(num1, num2); }

Value GetHalfofLong(const Value& num_as_long) {
  const auto n = ToLong(num_as_long);
  if (!n) return Value::Error(HostError::Value);
  return Value::Number(engine::GetHalfofLong(*n));
}

Value dcmISEQUAL(const Value& number1, const Value& number2) {
  return Compare(number1, number2, true, false, false, false);
}
Value dcmISNOTEQUAL(const Value& number1, const Value& number2) {
  return Compare(number1, number2, true, false, false, true);
}
Value dcmISGREATER(const Value& number1, const Value& number2) {
  return Compare(number1, number2, false, true, false, false);
}
Value dcmISGREATEROREQUAL(const Value& number1, const Value& number2) {
  return Compare(number1, number2, true, true, false, false);
}
Value dcmISLESS(const Value& number1, const Value& number2) {
  return Compare(number1, number2, false, true, true, false);
}
Value dcmISLESSOREQUAL(const Value& number1, const Value& number2) {
  return Compare(number1, number2, true, true, true, false);
}

Value dcmFORMAT(const Value& number, const Value& format_negative, const Value& format_thousands,
                const Value& format_currency, const Value& exponential_notation,
                const Value& maximum_significant_digits, const Value& format_decimal_place,
                const Value& preserve_decimal_place) {
  try {
    const auto text = platform::VariantToText(number);
    if (!text) return Value::Text("#VALUE!");
    engine::type_CleanUp clean = engine::CleanUp(*text, true, true);
    type_Restrictionator options =
        frame::Restrictionator(format_negative, format_thousands, format_currency, exponential_notation,
                               maximum_significant_digits, format_decimal_place, preserve_decimal_place);
    if (clean.IsError) return Value::Text(clean.NumClean);
    std::string cleaned = clean.NumClean;
    const bool positive = engine::IsNonNegative(cleaned);
    if (!positive) cleaned.erase(0, 1);
    engine::type_DecPosFromEnd aligned = engine::AlignDecimalPositions(cleaned, "0", engine::kAdd);
    double P = aligned.Position1;
    std::string digits = engine::RemoveDecimalPoint(aligned.Operand1_Trim);
    return Value::Text(frame::ComposeResult(std::move(digits), P, positive, options));
  } catch (...) {
    return Value::Text("#VALUE!");
  }
}

type_Restrictionator Restrictionator(const Value& format_negative, const Value& format_thousands,
                                     const Value& format_currency, const Value& exponential_notation,
                                     const Value& maximum_significant_digits, const Value& format_decimal_place,
                                     const Value& preserve_decimal_place) {
  return frame::Restrictionator(format_negative, format_thousands, format_currency, exponential_notation,
                                maximum_significant_digits, format_decimal_place, preserve_decimal_place);
}

type_Restrictionator PublicRestrictionatorCaller(const Value& format_negative, const Value& format_thousands,
                                                 const Value& format_currency, const Value& exponential_notation,
                                                 const Value& maximum_significant_digits) {
  return frame::Restrictionator(format_negative, format_thousands, format_currency, exponential_notation,
                                maximum_significant_digits, kOmitted, kOmitted);
}

Value dcmDEFAULTMAXSD() { return Value::Number(frame::DefaultMaxSD()); }

}  // namespace decimora::functions
