// Rounding at a decimal position, the integer part, truncation, the fraction,
// absolute value and sign changes: all on the digit text, never through
// floating point.
#include "functions/rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/round.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/guard.h"
#include "frame/restrictionator.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

using detail::FormatOptions;
using detail::TextOrFail;

namespace {

const Value kIntegerBound = Value::Number(frame::kMaxSignificantDigits);

enum class Mode { Half, Up, Down };

bool AllZeros(std::string_view digits) { return digits.find_first_not_of('0') == std::string_view::npos; }

// Reads a result of Round_Function back and composes it with the caller's
// options (the integer part and truncation round first without options).
std::string Recompose(const std::string& rounded, const type_Restrictionator& options) {
  return frame::ComposeNumberText(rounded, options);
}

// num_digits of TRUNC: 0 when omitted or blank; a value that does not
// convert (the empty text included) fails the call.
double DigitsArgument(const Value& num_digits) {
  if (num_digits.isOmitted() || num_digits.isEmpty()) return 0;
  const auto d = platform::VariantToDouble(num_digits);
  if (!d) throw frame::CallFailed();
  return *d;
}

enum class SignRule { Positive, Negative, Flip };

std::string SignWorker(const Value& number, SignRule rule, bool empty_is_error, const Value& format_negative,
                       const Value& format_thousands, const Value& format_currency, const Value& exponential_notation) {
  const std::string text = TextOrFail(number);
  if (empty_is_error && text.empty()) return "#VALUE!";
  const type_Restrictionator options =
      FormatOptions(format_negative, format_thousands, format_currency, exponential_notation, kIntegerBound);
  engine::type_CleanUp c = engine::CleanUp(text, false, false);
  if (c.IsError) return c.NumClean;
  const bool positive = rule == SignRule::Positive ? true : (rule == SignRule::Negative ? false : !c.Positive);
  double P = c.DecPos;
  return frame::ComposeResult(std::move(c.NumClean), P, positive, options);
}

}  // namespace

std::string Round_Function(std::string_view number, double num_digits, bool round_half, bool round_up, bool round_down,
                           const Value& format_negative, const Value& format_thousands, const Value& format_currency,
                           const Value& exponential_notation) {
  (void)round_down;  // the mode that remains when neither of the others is set
  const Mode mode = round_half ? Mode::Half : (round_up ? Mode::Up : Mode::Down);
  if (number.empty()) return "#VALUE!";
  engine::type_CleanUp c = engine::CleanUp(number, false, false);
  if (std::isnan(num_digits) || num_digits < -frame::kMaxSignificantDigits) return "#VALUE!";
  if (engine::HasError(c.NumClean)) return "#VALUE!";
  std::string D = std::move(c.NumClean);
  if (AllZeros(D)) return "0";

  const auto L = static_cast<std::int64_t>(D.size());
  std::int64_t p = static_cast<std::int64_t>(c.DecPos);
  // Cut toward zero. A num_digits beyond the last digit drops nothing, so
  // any value past L + 2 behaves alike; capping it keeps the counts small.
  const double cut = std::trunc(num_digits);
  const std::int64_t d = cut > static_cast<double>(L + 2) ? L + 2 : static_cast<std::int64_t>(cut);

  const type_Restrictionator options =
      FormatOptions(format_negative, format_thousands, format_currency, exponential_notation, kIntegerBound);
  auto compose = [&](std::string digits, std::int64_t position, bool positive) {
    double P = position == 1 ? 0 : static_cast<double>(position);
    return frame::ComposeResult(std::move(digits), P, positive, options);
  };

  // Rounding away from zero: a number no larger in magnitude than one unit
  // 10^-d becomes exactly that unit, with its sign. |x| <= 10^e holds when
  // the leading digit stands below the unit's place, or at it as a 1
  // followed by nothing but zeros.
  const std::int64_t raised = p == 0 ? 1 : p;
  const std::int64_t I = L - raised + 1;  // digits before the separator
  if (mode == Mode::Up) {
    const std::int64_t e = -d;
    const std::size_t lead = D.find_first_not_of('0');
    const std::int64_t leadExponent = I - 1 - static_cast<std::int64_t>(lead);
    const bool unitCovers = leadExponent < e || (leadExponent == e && D[lead] == '1' &&
                                                 D.find_first_not_of('0', lead + 1) == std::string::npos);
    if (unitCovers) {
      if (e >= 0) return compose("1" + std::string(static_cast<std::size_t>(e), '0'), 0, c.Positive);
      return compose(std::string(static_cast<std::size_t>(-e), '0') + "1", -e + 1, c.Positive);
    }
  }

  p = raised;
  if (d > p) return compose(std::move(D), p, c.Positive);
  const std::int64_t K = I + d;  // digits kept
  if (mode == Mode::Down && (K <= 0 || AllZeros(std::string_view(D).substr(0, static_cast<std::size_t>(K))))) {
    return "0";
  }
  if (mode == Mode::Half && d < 0 && (-d >= I + 1 || L < -d)) return "0";
  // Zero-based: digits [0, K-1) are the head, K-1 the last kept digit G,
  // K the first dropped digit F, (K, L) the tail.
  if (K >= L) return compose(std::move(D), p, c.Positive);  // nothing dropped

  const bool up = mode == Mode::Up || (mode == Mode::Half && D[static_cast<std::size_t>(K)] >= '5');
  const std::size_t from = static_cast<std::size_t>(std::max<std::int64_t>(K, 0));
  if (!up) {
    std::fill(D.begin() + static_cast<std::ptrdiff_t>(from), D.end(), '0');
    return compose(std::move(D), p, c.Positive);
  }
  if (AllZeros(std::string_view(D).substr(from))) return compose(std::move(D), p, c.Positive);
  if (K <= 0) {
    // No digit is kept: the result is one unit 10^-d.
    if (-d > frame::kMaxSignificantDigits - 2) return "#VALUE!";
    return compose("1" + std::string(static_cast<std::size_t>(-d), '0'), 1, c.Positive);
  }
  std::fill(D.begin() + static_cast<std::ptrdiff_t>(from), D.end(), '0');
  if (engine::IncrementDigitsAt(D, static_cast<std::size_t>(K - 1), '\0')) D.insert(D.begin(), '1');
  return compose(std::move(D), p, c.Positive);
}

std::string Int_Function(const Value& number, const Value& format_negative, const Value& format_thousands,
                         const Value& format_currency, const Value& exponential_notation) {
  const std::string text = TextOrFail(number);
  if (text.empty()) return "0";
  const bool nonNegative = engine::IsNonNegative(text);
  const std::string rounded = Round_Function(text, 0, false, !nonNegative, nonNegative);
  return Recompose(
      rounded, FormatOptions(format_negative, format_thousands, format_currency, exponential_notation, kIntegerBound));
}

std::string Int_Function(std::string_view number) { return Int_Function(Value::Text(std::string(number))); }

std::string Trunc_Function(const Value& number, const Value& num_digits, const Value& format_negative,
                           const Value& format_thousands, const Value& format_currency,
                           const Value& exponential_notation) {
  const std::string text = TextOrFail(number);
  const double digits = DigitsArgument(num_digits);
  if (text.empty()) return "0";
  const std::string rounded = Round_Function(text, digits, false, false, true);
  return Recompose(
      rounded, FormatOptions(format_negative, format_thousands, format_currency, exponential_notation, kIntegerBound));
}

std::string Trunc_Function(std::string_view number) { return Trunc_Function(Value::Text(std::string(number))); }

std::string Frac_Function(const Value& number, const Value& as_int, const Value& sign, const Value& format_negative,
                          const Value& format_thousands, const Value& format_currency,
                          const Value& exponential_notation, const Value& maximum_significant_digits) {
  const std::string text = TextOrFail(number);
  const type_Restrictionator options = FormatOptions(format_negative, format_thousands, format_currency,
                                                     exponential_notation, maximum_significant_digits);
  // Error values pass through, and the text is read as a number (quotes,
  // currency, grouping and exponent resolved, but the digits kept as
  // written, so 12.050 with as_int still gives 50): cutting an exponent
  // form or a trailing currency symbol at the separator would return text
  // that is not the fraction.
  if (engine::IsErrorText(text)) return text;
  const std::string read = engine::ReadNumberText(text);
  if (engine::HasError(read)) return read;

  bool positive = engine::IsNonNegative(read);
  if (platform::EqualsNumber(sign, 2))
    positive = true;
  else if (platform::EqualsNumber(sign, 3))
    positive = false;

  const std::size_t sepAt = read.find(engine::GetDecimalSeparator());
  std::string digits = sepAt == std::string::npos ? std::string() : read.substr(sepAt + 1);
  if (digits.empty()) return "0";
  // The fraction goes to the composer as digits with their decimal position,
  // so that its significant digits are counted from the first nonzero one.
  double P = platform::IsTrueArgument(as_int) ? 0 : static_cast<double>(digits.size() + 1);
  return frame::ComposeResult(std::move(digits), P, positive, options);
}

std::string Abs_Function(const Value& number, const Value& format_negative, const Value& format_thousands,
                         const Value& format_currency, const Value& exponential_notation) {
  return SignWorker(number, SignRule::Positive, false, format_negative, format_thousands, format_currency,
                    exponential_notation);
}

std::string Neg_Function(const Value& number, const Value& format_negative, const Value& format_thousands,
                         const Value& format_currency, const Value& exponential_notation) {
  return SignWorker(number, SignRule::Negative, true, format_negative, format_thousands, format_currency,
                    exponential_notation);
}

std::string ChangeSign_Function(const Value& number, const Value& format_negative, const Value& format_thousands,
                                const Value& format_currency, const Value& exponential_notation) {
  return SignWorker(number, SignRule::Flip, false, format_negative, format_thousands, format_currency,
                    exponential_notation);
}

std::string Abs_Function(std::string_view number) { return Abs_Function(Value::Text(std::string(number))); }
std::string Neg_Function(std::string_view number) { return Neg_Function(Value::Text(std::string(number))); }
std::string ChangeSign_Function(std::string_view number) {
  return ChangeSign_Function(Value::Text(std::string(number)));
}

// --- Worksheet functions ----------------------------------------------------

namespace {

// num_digits of ROUND, ROUNDUP and ROUNDDOWN: the empty text counts as 0;
// anything else must convert to a number.
double RoundDigits(const Value& num_digits) {
  if (num_digits.isText() && num_digits.text().empty()) return 0;
  const auto d = platform::VariantToDouble(num_digits);
  if (!d) throw frame::CallFailed();
  return *d;
}

Value RoundMethod(const Value& num, const Value& num_digits, bool half, bool up, bool down, const Value& fn,
                  const Value& ft, const Value& fc, const Value& en) {
  try {
    const double digits = RoundDigits(num_digits);
    const std::string text = functions::detail::TextOrFail(num);
    return Value::Text(functions::Round_Function(text, digits, half, up, down, fn, ft, fc, en));
  } catch (...) {
    return Value::Error(HostError::Value);
  }
}

}  // namespace

Value dcmROUND(const Value& num, const Value& num_digits, const Value& format_negative, const Value& format_thousands,
               const Value& format_currency, const Value& exponential_notation) {
  return RoundMethod(num, num_digits, true, false, false, format_negative, format_thousands, format_currency,
                     exponential_notation);
}

Value dcmROUNDUP(const Value& num, const Value& num_digits, const Value& format_negative, const Value& format_thousands,
                 const Value& format_currency, const Value& exponential_notation) {
  return RoundMethod(num, num_digits, false, true, false, format_negative, format_thousands, format_currency,
                     exponential_notation);
}

Value dcmROUNDDOWN(const Value& num, const Value& num_digits, const Value& format_negative,
                   const Value& format_thousands, const Value& format_currency, const Value& exponential_notation) {
  return RoundMethod(num, num_digits, false, false, true, format_negative, format_thousands, format_currency,
                     exponential_notation);
}

Value dcmINT(const Value& num, const Value& format_negative, const Value& format_thousands,
             const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return functions::Int_Function(num, format_negative, format_thousands, format_currency, exponential_notation);
  });
}

Value dcmTRUNC(const Value& num, const Value& num_digits, const Value& format_negative, const Value& format_thousands,
               const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return functions::Trunc_Function(num, num_digits, format_negative, format_thousands, format_currency,
                                     exponential_notation);
  });
}

Value dcmFRAC(const Value& num, const Value& as_int, const Value& sign, const Value& format_negative,
              const Value& format_thousands, const Value& format_currency, const Value& exponential_notation,
              const Value& maximum_significant_digits) {
  return frame::GuardCall([&] {
    return functions::Frac_Function(num, as_int, sign, format_negative, format_thousands, format_currency,
                                    exponential_notation, maximum_significant_digits);
  });
}

Value dcmABS(const Value& num, const Value& format_negative, const Value& format_thousands,
             const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return functions::Abs_Function(num, format_negative, format_thousands, format_currency, exponential_notation);
  });
}

Value dcmNEG(const Value& num, const Value& format_negative, const Value& format_thousands,
             const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return functions::Neg_Function(num, format_negative, format_thousands, format_currency, exponential_notation);
  });
}

Value dcmCHANGESIGN(const Value& num, const Value& format_negative, const Value& format_thousands,
                    const Value& format_currency, const Value& exponential_notation) {
  return frame::GuardCall([&] {
    return functions::ChangeSign_Function(num, format_negative, format_thousands, format_currency,
                                          exponential_notation);
  });
}

Value dcmSIGN(const Value& num) {
  try {
    const std::string text = functions::detail::TextOrFail(num);
    if (text.empty()) return Value::Text("0");
    if (!frame::IsNumberText(text)) return Value::Text("#VALUE!");
    const Value zero = frame::CompareNumbers(text, "0", true, false);
    if (zero.isBool() && zero.boolean()) return Value::Number(0);
    return Value::Number(engine::IsNonNegative(text) ? 1 : -1);
  } catch (...) {
    return Value::Error(HostError::Value);
  }
}

}  // namespace decimora::functions
