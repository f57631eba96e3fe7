// Fraction reduction, and the greatest common divisor and least common
// multiple of a list built on it.
//
// Both numbers of a fraction are scaled by the same power of ten 10^s until
// they are integers A and B; with g their greatest common divisor the
// reduced fraction is (A/g)/(B/g) and the factor it was reduced by is
// exactly g/10^s. Short integers find g natively; long ones by Euclid's
// algorithm on the remainder worker, held to enough digits to be exact, so
// a common divisor is never the divisor of two rounded numbers.

#include "functions/fraction.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/errors.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/guard.h"
#include "frame/lists.h"
#include "frame/restrictionator.h"
#include "functions/remainder.h"
#include "functions/rounding.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

namespace {

using engine::HasError;

type_Fraction AllFields(const std::string& text) { return {text, text, text}; }

bool IsOne(std::string_view t) { return t == "1" || t == "-1"; }

// A signed normal-form number text as an integer text scaled by 10^s, where
// s >= its own number of fraction digits: sign, digits without separator or
// leading zeros, then s - fraction digits zeros.
std::string ScaleToInteger(std::string_view text, std::size_t s) {
  const char sep = engine::GetDecimalSeparator();
  const bool negative = !engine::IsNonNegative(text);
  if (negative) text.remove_prefix(1);
  const std::size_t at = text.find(sep);
  const std::size_t fraction = at == std::string_view::npos ? 0 : text.size() - at - 1;
  std::string digits;
  digits.reserve(text.size() + s);
  for (char c : text) {
    if (c != sep) digits.push_back(c);
  }
  digits = engine::StripLeadingZeros(digits);
  digits.append(s - fraction, '0');
  return negative ? "-" + digits : digits;
}

std::size_t FractionDigits(std::string_view text) {
  const std::size_t at = text.find(engine::GetDecimalSeparator());
  return at == std::string_view::npos ? 0 : text.size() - at - 1;
}

// g / 10^s for a digit string g without leading zeros, in normal form.
std::string ShiftDown(const std::string& g, std::size_t s) {
  if (s == 0) return g;
  const char sep = engine::GetDecimalSeparator();
  std::string out;
  if (g.size() > s) {
    out = g.substr(0, g.size() - s);
    out.push_back(sep);
    out.append(g, g.size() - s, std::string::npos);
  } else {
    out = "0";
    out.push_back(sep);
    out.append(s - g.size(), '0');
    out.append(g);
  }
  return engine::TrimFractionZeros(out);
}

// Whether the digit string g (no leading zeros) is below 10^s.
bool BelowPowerOfTen(const std::string& g, std::size_t s) { return g.size() <= s; }

// The integers that fit the native path: at most nine characters, a minus
// sign included, so every value and remainder fits 32 bits.
constexpr std::size_t kShortLength = 9;

std::int64_t ToInt(const std::string& t) { return std::strtoll(t.c_str(), nullptr, 10); }

// The greatest common divisor of two integer texts A and B (not zero), as
// a digit string, or an error text.
std::string CommonDivisor(const std::string& A, const std::string& B, double working_digits) {
  if (A.size() <= kShortLength && B.size() <= kShortLength) {
    std::int64_t x = ToInt(A);
    std::int64_t y = ToInt(B);
    for (;;) {
      const std::int64_t r = y % x;  // the sign follows y
      y = x;
      x = r;
      if (r == 0) break;
    }
    return std::to_string(y < 0 ? -y : y);
  }
  // Euclid on the remainder worker (quotient rounded down, result signed
  // like the divisor). Every remainder is shorter than the longer operand,
  // so holding the worker to that many digits keeps each step exact. Each
  // pair of steps at least halves the smaller number: the bound on the
  // steps only guards against a remainder that fails to shrink.
  // Whenever that holds, the steps compute the greatest common divisor
  // itself, so it is taken on limbs: the same digits without a text round
  // trip per step.
  if (static_cast<double>(std::max(A.size(), B.size())) + 5 <= working_digits) {
    const std::optional<engine::Natural> a = engine::Natural::FromDigits(engine::AbsText(A));
    const std::optional<engine::Natural> b = engine::Natural::FromDigits(engine::AbsText(B));
    if (a && b && !a->IsZero() && !b->IsZero()) {
      engine::Natural x = *a;
      engine::Natural y = *b;
      while (!x.IsZero()) {
        engine::Natural r = engine::Divide(y, x).remainder;
        y = std::move(x);
        x = std::move(r);
      }
      return y.ToDigits();
    }
  }
  std::string x = A;
  std::string y = B;
  const std::size_t max_steps = 10 * std::max(A.size(), B.size()) + 100;
  for (std::size_t step = 0;; ++step) {
    if (step > max_steps) return "#NUM!";
    std::string r = Mod_Function(y, x, false, working_digits);
    if (HasError(r)) return r;
    y = std::move(x);
    x = std::move(r);
    if (x == "0") break;
  }
  return engine::AbsText(y);
}

}  // namespace

type_Fraction ReduceFraction_Function(std::string_view numerator, std::string_view divisor, bool simplify_signs,
                                      bool always_simplify, std::optional<double> maximum_significant_digits) {
  const double maxSD = maximum_significant_digits ? *maximum_significant_digits : frame::DefaultMaxSD();

  engine::type_CleanUp ca = engine::CleanUp(numerator, true, true);
  if (ca.IsError || HasError(ca.NumClean)) return AllFields(ca.NumClean);
  engine::type_CleanUp cb = engine::CleanUp(divisor, true, true);
  if (cb.IsError || HasError(cb.NumClean)) return AllFields(cb.NumClean);
  std::string a = std::move(ca.NumClean);
  std::string b = std::move(cb.NumClean);
  const std::string a0 = a;
  const std::string b0 = b;

  if (simplify_signs) {
    const bool a_negative = !engine::IsNonNegative(a);
    const bool b_negative = !engine::IsNonNegative(b);
    if (a_negative && b_negative) {
      a.erase(0, 1);
      b.erase(0, 1);
    } else if (b_negative) {
      b.erase(0, 1);
      a.insert(0, 1, '-');
    }
    if (a == "-0" || b == "0") a = engine::AbsText(a);
  }

  if (a0 == "0") return {a, "1", b};
  if (b0 == "0") return {"1", b, a};
  if (IsOne(a0) || IsOne(b0)) return {a, b, "1"};

  const std::size_t s = std::max(FractionDigits(a), FractionDigits(b));
  const std::string A = ScaleToInteger(a, s);
  const std::string B = ScaleToInteger(b, s);

  // Enough digits for every remainder and quotient to be exact; beyond a
  // cell's worth the dispatcher answers "#NUM!" instead of rounding.
  const double working =
      std::min(frame::kMaxSignificantDigits, std::max(maxSD, static_cast<double>(std::max(A.size(), B.size()) + 5)));
  const std::string g = CommonDivisor(A, B, working);
  if (HasError(g)) return AllFields(g);

  // Reduced by g / 10^s: below 1, the reduced numerator would be larger in
  // magnitude than the given one.
  if (!always_simplify && BelowPowerOfTen(g, s)) return {a, b, "1"};

  type_Fraction out;
  if (A.size() <= kShortLength && B.size() <= kShortLength) {
    const std::int64_t n = ToInt(g);
    out.Numerator = std::to_string(ToInt(A) / n);
    out.divisor = std::to_string(ToInt(B) / n);
  } else if (g == "1") {
    out.Numerator = A;
    out.divisor = B;
  } else {
    out.Numerator = frame::CalculateText(engine::kDivide, A, g, working);
    out.divisor = frame::CalculateText(engine::kDivide, B, g, working);
    if (HasError(out.Numerator)) return AllFields(out.Numerator);
    if (HasError(out.divisor)) return AllFields(out.divisor);
  }
  out.Reduced_By = ShiftDown(g, s);
  return out;
}

namespace {

enum class Fold { Gcd, Lcm };

std::string GcdLcm(std::span<const Value> numlist, bool keep_as_given, Fold fold) {
  frame::DirectiveReader directives(frame::DefaultMaxSD());
  std::string running;
  bool have = false;
  bool negative = false;
  frame::WalkList(numlist, directives, [&](const frame::ListItem& item) {
    std::string t;
    if (keep_as_given) {
      // Taken as given, but only a number: the first value found becomes the
      // running value, and a text there would fail every later reduction
      // and be the result.
      engine::type_CleanUp c = engine::CleanUp(item.upper, true, true);
      if (c.IsError || HasError(c.NumClean)) return true;
      t = std::move(c.NumClean);
    } else {
      t = Trunc_Function(item.upper);
      if (HasError(t)) return true;
    }
    if ((fold == Fold::Lcm || !keep_as_given) && !engine::IsNonNegative(t)) {
      negative = true;
      return false;
    }
    if (!have) {
      running = std::move(t);
      have = true;
      return true;
    }
    const type_Fraction f = ReduceFraction_Function(running, t, true, false);
    if (HasError(f.Reduced_By)) return true;
    if (fold == Fold::Gcd) {
      running = f.Reduced_By;
      return true;
    }
    // m / gcd(m, t) * t, exact at whatever length. Dividing first keeps the
    // intermediate no longer than the result, so a multiple that fits a cell
    // is not lost to a product m * t that does not; one that does not fit
    // becomes "#NUM!", which stays the result. The divisor is zero only
    // when both numbers are.
    if (f.Reduced_By == "0") {
      running = "0";
      return true;
    }
    const double working = std::min(frame::kMaxSignificantDigits, static_cast<double>(running.size() + t.size() + 5));
    const std::string q = frame::CalculateText(engine::kDivide, running, f.Reduced_By, working);
    running = frame::CalculateText(engine::kMultiply, q, t, working);
    return true;
  });
  if (negative) return "#NUM!";
  return frame::ComposeListResult(running, directives.Options());
}

}  // namespace

std::string GCD_Function(std::span<const Value> numlist, bool keep_as_given) {
  return GcdLcm(numlist, keep_as_given, Fold::Gcd);
}

std::string LCM_Function(std::span<const Value> numlist, bool keep_as_given) {
  return GcdLcm(numlist, keep_as_given, Fold::Lcm);
}

// --- Worksheet functions ----------------------------------------------------

Value dcmREDUCEFRACTION(const Value& Numerator, const Value& divisor, const Value& simplify_signs,
                        const Value& always_simplify_fraction, const Value& return_numerator,
                        const Value& return_divisor, const Value& return_reduced_by, const Value& fraction_separator) {
  return frame::GuardCall([&]() -> Value {
    // Numerator and divisor are read as the host converts them to text; a
    // host error, an array or a missing argument has no text: the call fails.
    const auto a = platform::VariantToText(Numerator);
    const auto b = platform::VariantToText(divisor);
    if (!a || !b) return Value::Error(HostError::Value);
    const functions::type_Fraction f = functions::ReduceFraction_Function(
        *a, *b, platform::IsTrueArgument(simplify_signs), platform::IsTrueArgument(always_simplify_fraction));
    if (platform::IsTrueArgument(return_numerator)) return Value::Text(f.Numerator);
    if (platform::IsTrueArgument(return_divisor)) return Value::Text(f.divisor);
    if (platform::IsTrueArgument(return_reduced_by)) return Value::Text(f.Reduced_By);

    std::string separator;
    if (!fraction_separator.isOmitted()) {
      const auto s = platform::VariantToText(fraction_separator);
      if (!s) return Value::Error(HostError::Value);
      separator = *s;
    }
    if (separator.empty()) separator = "/";
    const std::string text = engine::HasError(f.divisor) ? f.divisor : f.Numerator + separator + f.divisor;

    // The fraction text, then the three fields across row 1 and down
    // column 1: entered into a row or a column of four cells, it reads the same.
    Array out(4, 4);
    for (Value& cell : out.cells) cell = Value::Empty();
    out.at(1, 1) = Value::Text(text);
    const std::string* fields[] = {&f.Numerator, &f.divisor, &f.Reduced_By};
    for (std::size_t i = 0; i < 3; ++i) {
      out.at(i + 2, 1) = Value::Text(*fields[i]);
      out.at(1, i + 2) = Value::Text(*fields[i]);
    }
    return Value::FromArray(std::move(out));
  });
}

Value dcmGCD(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return Value::Text(functions::GCD_Function(numlist, false)); });
}

Value dcmGCD2(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return Value::Text(functions::GCD_Function(numlist, true)); });
}

Value dcmLCM(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return Value::Text(functions::LCM_Function(numlist, false)); });
}

Value dcmLCM2(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return Value::Text(functions::LCM_Function(numlist, true)); });
}

}  // namespace decimora::functions
