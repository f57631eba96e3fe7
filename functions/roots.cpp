#include "functions/roots.h"

#include <optional>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/restrictionator.h"
#include "functions/constants.h"
#include "platform/convert.h"

namespace decimora::functions {

namespace {

const Value kOmitted = Value::Omitted();

// The square root of a number text at maxSD m, composed with the options.
// The root is taken without the format options and composed once with
// them: formatting an already formatted root would read its currency
// symbol, grouping or exponent as digits.
std::string ComposedSquareRoot(const std::string& radicand, const type_Restrictionator& options) {
  const Value none;
  const std::string root = frame::Calculate(engine::kRoot, Value::Text(radicand), Value::Number(2), none, none, none,
                                            none, Value::Number(options.maxSD), true, false);
  return frame::ComposeNumberText(root, options);
}

// The radicand of dcmSQRT and dcmSQRTPI read as a number: its cleaned text,
// or the answer when there is nothing to take the root of.
struct Radicand {
  std::string text;
  std::optional<std::string> answer;
};
Radicand ReadRadicand(const Value& num) {
  const std::optional<std::string> text = platform::VariantToText(num);
  if (!text) return {{}, "#VALUE!"};
  if (engine::IsErrorText(*text)) return {{}, *text};
  engine::type_CleanUp c = engine::CleanUp(*text, true, true);
  if (c.IsError) return {{}, "#VALUE!"};
  // The sign of the number, not of the text: -0 is zero.
  if (!c.Positive) return {{}, "#NUM!"};
  return {std::move(c.NumClean), std::nullopt};
}

}  // namespace

std::string Sqrt_Function(const Value& num, const Value& format_thousands, const Value& format_currency,
                          const Value& exponential_notation, const Value& maxSD) {
  try {
    const type_Restrictionator options = frame::Restrictionator(kOmitted, format_thousands, format_currency,
                                                                exponential_notation, maxSD, kOmitted, kOmitted);
    Radicand r = ReadRadicand(num);
    if (r.answer) return *r.answer;
    return ComposedSquareRoot(r.text, options);
  } catch (...) {
    return "#VALUE!";
  }
}

std::string SqrtPi_Function(const Value& num, const Value& format_thousands, const Value& format_currency,
                            const Value& exponential_notation, const Value& maxSD) {
  try {
    const type_Restrictionator options = frame::Restrictionator(kOmitted, format_thousands, format_currency,
                                                                exponential_notation, maxSD, kOmitted, kOmitted);
    Radicand r = ReadRadicand(num);
    if (r.answer) return *r.answer;
    const std::string product = frame::CalculateText(engine::kMultiply, r.text, Get_Pi(options.maxSD), options.maxSD);
    if (engine::HasError(product)) return product;
    return ComposedSquareRoot(product, options);
  } catch (...) {
    return "#VALUE!";
  }
}

Value dcmSQRT(const Value& num, const Value& format_thousands, const Value& format_currency,
              const Value& exponential_notation, const Value& maxSD) {
  return Value::Text(Sqrt_Function(num, format_thousands, format_currency, exponential_notation, maxSD));
}

Value dcmSQRTPI(const Value& num, const Value& format_thousands, const Value& format_currency,
                const Value& exponential_notation, const Value& maxSD) {
  return Value::Text(SqrtPi_Function(num, format_thousands, format_currency, exponential_notation, maxSD));
}

}  // namespace decimora::functions
