#include "frame/calculate.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/addsub.h"
#include "engine/division.h"
#include "engine/errors.h"
#include "engine/multiply.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "engine/round.h"
#include "frame/compose.h"
#include "frame/power.h"
#include "frame/root.h"
#include "frame/restrictionator.h"
#include "platform/convert.h"

namespace decimora::frame {

using namespace engine;

namespace {

std::string_view TextOf(const Value& v) {
  static const std::string empty;
  return v.isText() ? std::string_view(v.text()) : std::string_view(empty);
}

// The digit operation and the position of its result. Returns the digits
// (or an error text), sets P and negative.
std::string Operate(std::int16_t requested, std::string a, std::string b, double W, double& P, bool& negative,
                    bool restrict_input, const Value& extra) {
  type_SignOp op = DecideSignOperation(requested, a, b);
  StripLeadingZerosInPlace(op.Operand1);
  StripLeadingZerosInPlace(op.Operand2);
  type_DecPosFromEnd aligned =
      AlignDecimalPositions(std::move(op.Operand1), std::move(op.Operand2), op.Operation);
  P = aligned.Position;
  type_RemoveDecimals plain = RemoveOperandDecimals(std::move(aligned.Operand1_Trim), aligned.Operand1_TrimLen,
                                                    std::move(aligned.Operand2_Trim), aligned.Operand2_TrimLen,
                                                    aligned.Position1, aligned.Position2);
  std::string o1 = std::move(plain.Operand1_Trim);
  std::string o2 = std::move(plain.Operand2_Trim);
  StripLeadingZerosInPlace(o1);
  StripLeadingZerosInPlace(o2);
  switch (op.Operation) {
    case kAdd:
      negative = op.Negative;
      return AddDigitStrings(o1, o2);
    case kSubtract: {
      type_Subtraction d = SubtractDigitStrings(o1, o2, false);
      negative = d.NegativeSubtraction;
      return std::move(d.Difference);
    }
    case kMultiply:
      negative = op.Negative;
      return MultiplyDigitStrings(o1, o2);
    case kDivide: {
      negative = op.Negative;
      type_Division_Osrel q = Osrel_Divide(o1, o2, static_cast<std::int32_t>(W));
      // An error answer (a zero divisor) is the result as it stands: the
      // position arithmetic below would append zeros to it.
      if (HasError(q.digits)) return std::move(q.digits);
      double position = -static_cast<double>(q.powerOfTen);
      if (aligned.Position1 != 0) position += aligned.Position1 - 1;
      if (aligned.Position2 != 0) position -= aligned.Position2 - 1;
      if (position < 0) {
        // Only a short quotient of a long integer dividend gets here; the
        // zeros it needs are bounded by the operand's length.
        q.digits.append(static_cast<std::size_t>(-position), '0');
        position = 0;
      }
      P = position + 1;
      return std::move(q.digits);
    }
    case kPower: {
      // The dispatcher and the power recurse into each other: the power
      // forms its products and its reciprocal as dispatcher steps
      // (frame/steps.h) and, for a base too long for the cleaning, calls
      // back here with the internal-call flag set (restrict_input false, so
      // a nested power does not re-apply the user's input limit). Roots join
      // the same loop: a fractional exponent takes a root, whose Newton
      // steps are dispatcher steps again, and a general root's step raises
      // to a power.
      std::string R = Power_Function(o1, o2, W, restrict_input, extra);
      P = DecimalPositionFromEnd(R);
      negative = !IsNonNegative(R);
      return R;
    }
    case kRoot: {
      std::string R = Root_Function(o1, o2, W, restrict_input, extra);
      P = DecimalPositionFromEnd(R);
      negative = !IsNonNegative(R);
      return R;
    }
    default:
      // Only internal callers can reach an unknown code.
      return "#VALUE!";
  }
}

}  // namespace

std::string Calculate(std::int16_t code, const Value& number1, const Value& number2,
                      const Value& format_negative, const Value& format_thousands, const Value& format_currency,
                      const Value& exponential_notation, const Value& maximum_significant_digits,
                      bool internal_call, bool restrict_input, const Value& extra,
                      const Value& format_decimal_place, const Value& preserve_decimal_place) {
  try {
    if (auto e = FirstError(TextOf(number1), TextOf(number2))) return *e;
    // Quotes, currency symbol, thousands separators and exponent; any text
    // that does not read as a number is "#VALUE!" here. A text is read where
    // it stands, other values through their text.
    auto read = [](const Value& v) -> std::optional<std::string> {
      if (v.isText()) return ReadNumberText(v.text());
      const auto t = platform::VariantToText(v);
      if (!t) return std::nullopt;
      return ReadNumberText(*t);
    };
    std::optional<std::string> t1 = read(number1);
    std::optional<std::string> t2 = read(number2);
    if (!t1 || !t2) return "#VALUE!";
    std::string a = std::move(*t1);
    std::string b = std::move(*t2);
    if (HasError(a) || HasError(b)) return "#VALUE!";

    type_Restrictionator options =
        Restrictionator(format_negative, format_thousands, format_currency, exponential_notation,
                        maximum_significant_digits, format_decimal_place, preserve_decimal_place);
    const double W = options.maxSD + 1;

    double P = 0;
    bool negative = false;
    std::string R = Operate(code, std::move(a), std::move(b), W, P, negative, restrict_input, extra);
    if (HasError(R)) return R;

    if (!R.empty() && R.front() == '-') R.erase(0, 1);
    RemoveDecimalPointInPlace(R);
    options.maxSD = W;
    if (internal_call) options.FormatDecimalPlace = Value::Omitted();
    return ComposeResult(std::move(R), P, !negative, options);
  } catch (...) {
    // A conversion failure anywhere (a non-digit reaching a digit operation,
    // an option that is not a number) is the dispatcher's "#VALUE!".
    return "#VALUE!";
  }
}

std::string CalculateText(std::int16_t code, std::string_view a, std::string_view b, double maxSD) {
  const Value none;
  return Calculate(code, Value::Text(std::string(a)), Value::Text(std::string(b)), none, none, none, none,
                   Value::Number(maxSD), true);
}

bool IsNumberText(std::string_view text) {
  const type_Currency_Symbol cs = GetCurrencySymbol();
  const char decimal = GetDecimalSeparator();
  if (text.empty() || text == cs.Symbol || text == "()" || text == "-" ||
      (text.size() == 1 && text[0] == decimal) || text == GetThousandsSeparator()) {
    return false;
  }
  return !HasError(CalculateText(kAdd, text, "0", kMaxSignificantDigits));
}

std::optional<NumberKey> ReadNumberKey(std::string_view text) {
  if (HasError(text) || !IsNumberText(text)) return std::nullopt;
  const char sep = GetDecimalSeparator();
  if (std::count(text.begin(), text.end(), sep) >= 2) return std::nullopt;

  NumberKey key;
  std::string magnitude = ReadNumberText(text);
  key.negative = !IsNonNegative(magnitude);
  if (key.negative) magnitude.erase(0, 1);  // the reader writes every negative with "-"
  StripLeadingZerosInPlace(magnitude);
  TrimFractionZerosInPlace(magnitude);
  if (magnitude == "0") key.negative = false;
  const std::size_t at = magnitude.find(sep);
  if (at != std::string::npos) {
    key.integer_digits = magnitude.front() == '0' ? 0 : at;
  } else {
    key.integer_digits = magnitude == "0" ? 0 : magnitude.size();
  }
  // Digits past the 32,767th significant one are not told apart. They are
  // counted from the first nonzero digit (the zeros after "0." of a tiny
  // number are not significant), and every key keeps one leading place for
  // a carry out of the first digit, so that the digits of two keys with the
  // same integer digits stay lined up; trailing zeros say nothing.
  RemoveDecimalPointInPlace(magnitude);
  magnitude.insert(magnitude.begin(), '0');
  const std::size_t lead = magnitude.find_first_not_of('0');
  if (lead != std::string::npos && static_cast<double>(magnitude.size() - lead) > kMaxSignificantDigits) {
    const std::string rounded = RoundToSignificant(std::string_view(magnitude).substr(lead), kMaxSignificantDigits);
    if (HasNonDigit(rounded)) return std::nullopt;
    const std::size_t from = lead - (rounded.size() - (magnitude.size() - lead));
    magnitude.replace(from, std::string::npos, rounded);
  }
  const std::size_t last = magnitude.find_last_not_of('0');
  magnitude.resize(last == std::string::npos ? 0 : last + 1);
  key.digits = std::move(magnitude);
  return key;
}

int CompareNumberKeys(const NumberKey& a, const NumberKey& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  int magnitude = 0;
  if (a.integer_digits != b.integer_digits) {
    magnitude = a.integer_digits > b.integer_digits ? 1 : -1;
  } else {
    // Lined up at the separator and without trailing zeros, the digits
    // compare as texts (a shorter text that is a prefix is the smaller).
    const int c = a.digits.compare(b.digits);
    magnitude = c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return a.negative ? -magnitude : magnitude;
}

Value CompareNumbers(std::string_view a, std::string_view b, bool or_equal, bool greater) {
  if (auto e = FirstError(a, b)) return Value::Text(*e);
  const std::optional<NumberKey> x = ReadNumberKey(a);
  if (!x) return Value::Text("#NUM!");
  const std::optional<NumberKey> y = ReadNumberKey(b);
  if (!y) return Value::Text("#NUM!");
  const int c = CompareNumberKeys(*x, *y);
  if (or_equal && c == 0) return Value::Bool(true);
  if (greater) return Value::Bool(c > 0);
  return Value::Bool(false);
}

}  // namespace decimora::frame
