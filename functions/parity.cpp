// Parity of numbers of any length, and rounding to the nearest even or odd
// integer. Only the last digit of the integer part is ever looked at.
#include "functions/parity.h"

#include <string>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/guard.h"
#include "frame/restrictionator.h"
#include "functions/rounding.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

using detail::FormatOptions;
using detail::TextOrFail;

namespace {

bool IsOddDigit(char c) { return c == '1' || c == '3' || c == '5' || c == '7' || c == '9'; }

// Steps to the neighbouring integer: integer + 1 or integer - 1, exactly.
std::string Step(const std::string& integer, bool add) {
  return frame::CalculateText(add ? engine::kAdd : engine::kSubtract, integer, "1", frame::kMaxSignificantDigits);
}

}  // namespace

Value IsOdd_Function(const Value& number) {
  const std::string text = TextOrFail(number);
  if (text.empty()) return Value::Bool(false);
  if (!frame::IsNumberText(text)) return Value::Text("#NUM!");
  const engine::type_CleanUp c = engine::CleanUp(text, true, false);
  const std::string integer = Trunc_Function(c.NumClean);
  if (engine::HasError(integer) || integer.empty()) return Value::Text("#NUM!");
  return Value::Bool(IsOddDigit(integer.back()));
}

Value IsOdd_Function(std::string_view number) { return IsOdd_Function(Value::Text(std::string(number))); }

std::string EvenOdd_Function(const Value& number, bool want_even, bool RoundNegTowardZero, const Value& format_negative,
                             const Value& format_thousands, const Value& format_currency,
                             const Value& exponential_notation) {
  std::string text = TextOrFail(number);
  if (text.empty()) text = "0";
  if (!frame::IsNumberText(text)) return "#VALUE!";
  const type_Restrictionator options = FormatOptions(format_negative, format_thousands, format_currency,
                                                     exponential_notation, Value::Number(frame::kMaxSignificantDigits));
  const bool nonNegative = engine::IsNonNegative(text);
  // Away from zero, except a negative number with the switch on: toward zero.
  std::string integer =
      nonNegative || !RoundNegTowardZero ? Round_Function(text, 0, false, true, false) : Trunc_Function(text);
  if (engine::HasError(integer)) return integer;
  const Value odd = IsOdd_Function(integer);
  if (!odd.isBool()) return std::string(odd.text());
  if (odd.boolean() == want_even) {
    const bool down = !RoundNegTowardZero && !engine::IsNonNegative(integer);
    integer = Step(integer, !down);
  }
  return frame::ComposeNumberText(integer, options);
}

std::string EvenOdd2_Function(const Value& number, bool want_even, bool RoundNegAwayFromZero,
                              const Value& format_negative, const Value& format_thousands, const Value& format_currency,
                              const Value& exponential_notation) {
  std::string text = TextOrFail(number);
  if (text.empty()) text = "0";
  if (!frame::IsNumberText(text)) return "#VALUE!";
  const type_Restrictionator options = FormatOptions(format_negative, format_thousands, format_currency,
                                                     exponential_notation, Value::Number(frame::kMaxSignificantDigits));
  const bool nonNegative = engine::IsNonNegative(text);
  // Toward zero, except a negative number with the switch on: away from zero.
  const bool away = !nonNegative && RoundNegAwayFromZero;
  std::string integer = Round_Function(text, 0, false, away, !away);
  if (engine::HasError(integer)) return integer;
  const Value odd = IsOdd_Function(integer);
  if (!odd.isBool()) return std::string(odd.text());
  if (odd.boolean() == want_even) {
    const bool up = !RoundNegAwayFromZero && !engine::IsNonNegative(integer);
    integer = Step(integer, up);
  }
  return frame::ComposeNumberText(integer, options);
}

// --- Worksheet functions ----------------------------------------------------

Value dcmISODD(const Value& num) {
  return frame::GuardCall([&] { return functions::IsOdd_Function(num); });
}

Value dcmISEVEN(const Value& num) {
  return frame::GuardCall([&] {
    const Value odd = functions::IsOdd_Function(num);
    return odd.isBool() ? Value::Bool(!odd.boolean()) : odd;
  });
}

Value dcmEVEN(const Value& num, const Value& RoundNegTowardZero, const Value& format_negative,
              const Value& format_thousands, const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return Value::Text(functions::EvenOdd_Function(num, true, platform::IsTrueArgument(RoundNegTowardZero),
                                                   format_negative, format_thousands, format_currency,
                                                   exponential_notation));
  });
}

Value dcmODD(const Value& num, const Value& RoundNegTowardZero, const Value& format_negative,
             const Value& format_thousands, const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return Value::Text(functions::EvenOdd_Function(num, false, platform::IsTrueArgument(RoundNegTowardZero),
                                                   format_negative, format_thousands, format_currency,
                                                   exponential_notation));
  });
}

Value dcmEVEN2(const Value& num, const Value& RoundNegAwayFromZero, const Value& format_negative,
               const Value& format_thousands, const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return Value::Text(functions::EvenOdd2_Function(num, true, platform::IsTrueArgument(RoundNegAwayFromZero),
                                                    format_negative, format_thousands, format_currency,
                                                    exponential_notation));
  });
}

Value dcmODD2(const Value& num, const Value& RoundNegAwayFromZero, const Value& format_negative,
              const Value& format_thousands, const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return Value::Text(functions::EvenOdd2_Function(num, false, platform::IsTrueArgument(RoundNegAwayFromZero),
                                                    format_negative, format_thousands, format_currency,
                                                    exponential_notation));
  });
}

}  // namespace decimora::functions
