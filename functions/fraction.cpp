// Fraction reduction, and the greatest common divisor and least common
// multiple of a list built on it.
//
// Both numbers of a fraction are scaled by the same power of ten 10^s until
// they are integers A and B; with g their greatest common divisor the
// reduced fraction is (A/g)/(B/g) and the factor it was reduced by is
// exactly g/10^s. All of it is computed on limbs, exactly, whatever the
// length the scaling reaches (a cell's number times 10^16,384 is longer than
// a cell): g by Lehmer's method, the quotients by exact division. Only what
// is handed back must fit a cell.

#include "functions/fraction.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/errors.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "frame/compose.h"
#include "frame/guard.h"
#include "frame/lists.h"
#include "frame/restrictionator.h"
#include "functions/rounding.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

namespace {

using engine::HasError;

type_Fraction AllFields(const std::string& text) { return {text, text, text}; }

bool IsOne(std::string_view t) { return t == "1" || t == "-1"; }

// Whether a signed text fits a cell, its sign aside (a cell holds the
// 32,767 digits of a positive integer; its negative is written by the
// composer's sign style).
bool FitsCell(std::string_view text) {
  const std::size_t sign = engine::IsNonNegative(text) ? 0 : 1;
  return static_cast<double>(text.size() - sign) <= frame::kCellLimit;
}

// A decimal exactly: digits / 10^fraction, with a sign.
struct Decimal {
  bool negative = false;
  engine::Natural digits;
  std::size_t fraction = 0;
};

// A signed normal-form text (CleanUp's, or an integer text of the
// truncation); nullopt for anything else.
std::optional<Decimal> ReadDecimal(std::string_view text) {
  Decimal d;
  if (!engine::IsNonNegative(text)) {
    d.negative = true;
    text.remove_prefix(1);
  }
  const std::size_t at = text.find(engine::GetDecimalSeparator());
  std::optional<engine::Natural> n;
  if (at == std::string_view::npos) {
    n = engine::Natural::FromDigits(text);
  } else {
    std::string digits(text.substr(0, at));
    digits.append(text.substr(at + 1));
    d.fraction = text.size() - at - 1;
    n = engine::Natural::FromDigits(digits);
  }
  if (!n || text.empty()) return std::nullopt;
  d.digits = std::move(*n);
  if (d.digits.IsZero()) d.negative = false;
  return d;
}

// The number of decimal zeros at the low end of n (n != 0).
std::size_t TrailingZeros(const engine::Natural& n) {
  std::size_t zeros = 0;
  for (engine::Limb limb : n.Limbs()) {
    if (limb == 0) {
      zeros += engine::kLimbDigits;
      continue;
    }
    while (limb % 10 == 0) {
      limb /= 10;
      ++zeros;
    }
    break;
  }
  return zeros;
}

// Without trailing fraction zeros.
Decimal Normalised(Decimal d) {
  if (d.digits.IsZero()) return Decimal{};
  const std::size_t cut = std::min(d.fraction, TrailingZeros(d.digits));
  if (cut > 0) {
    d.digits = engine::ShiftDecimalRight(d.digits, cut);
    d.fraction -= cut;
  }
  return d;
}

// The digits of a decimal's integer part (the length a cell cannot exceed;
// a long fraction is the composer's to round).
std::size_t IntegerDigits(const Decimal& d) {
  const std::size_t n = d.digits.IsZero() ? 0 : d.digits.DigitCount();
  return n > d.fraction ? n - d.fraction : 0;
}

// The normal-form text of a normalised decimal.
std::string DecimalText(const Decimal& d) {
  std::string g = d.digits.ToDigits();
  std::string out = d.negative ? "-" : "";
  if (d.fraction == 0) return out + g;
  const char sep = engine::GetDecimalSeparator();
  if (g.size() > d.fraction) {
    out.append(g, 0, g.size() - d.fraction);
    out.push_back(sep);
    out.append(g, g.size() - d.fraction, std::string::npos);
  } else {
    out.push_back('0');
    out.push_back(sep);
    out.append(d.fraction - g.size(), '0');
    out.append(g);
  }
  return out;
}

engine::Natural ScaledTo(const Decimal& d, std::size_t s) {
  return engine::ShiftDecimalLeft(d.digits, s - d.fraction);
}

// The factor the fraction x/y is reduced by (both nonzero, neither 1 nor
// -1): g / 10^s, or 1 when that is below 1 and the reduction would make the
// numerator larger than the given one. With the quotients when asked.
struct Reduction {
  Decimal factor;           // normalised, positive
  bool reduced = false;     // g / 10^s >= 1
  engine::Natural A, B, g;  // the scaled integers and their divisor
};

Reduction Reduce(const Decimal& x, const Decimal& y) {
  Reduction r;
  const std::size_t s = std::max(x.fraction, y.fraction);
  r.A = ScaledTo(x, s);
  r.B = ScaledTo(y, s);
  r.g = engine::Gcd(r.A, r.B);
  // g < 10^s exactly when g has at most s digits.
  r.reduced = r.g.DigitCount() > s;
  r.factor = r.reduced ? Normalised(Decimal{false, r.g, s}) : Decimal{false, engine::Natural(1), 0};
  return r;
}

// The factor of the list functions' fold, with the reduction's rules for
// zeros and ones: gcd(0, y) = |y|, gcd(x, 0) = |x|, and 1 beside 1 or -1.
Decimal CommonFactor(const Decimal& x, const Decimal& y) {
  const auto one = [](const Decimal& d) { return d.fraction == 0 && d.digits == engine::Natural(1); };
  if (x.digits.IsZero()) return Decimal{false, y.digits, y.fraction};
  if (y.digits.IsZero()) return Decimal{false, x.digits, x.fraction};
  if (one(x) || one(y)) return Decimal{false, engine::Natural(1), 0};
  return Reduce(x, y).factor;
}

// m / factor * t for m, t >= 0, where the factor is 1 or a common divisor
// g / 10^s of the reduction of m and t. It is taken as m * (t / factor):
// t / factor = B / g is a whole number and short when t is, so a long
// running multiple is never divided, only multiplied.
Decimal MultipleOf(const Decimal& m, const Decimal& factor, const Decimal& t) {
  if (m.digits.IsZero() || t.digits.IsZero()) return Decimal{};
  if (factor.fraction == 0 && factor.digits == engine::Natural(1)) {
    return Normalised(Decimal{false, engine::Multiply(m.digits, t.digits), m.fraction + t.fraction});
  }
  const std::size_t s = std::max(t.fraction, factor.fraction);
  const engine::Natural q = engine::Divide(ScaledTo(t, s), ScaledTo(factor, s)).quotient;
  return Normalised(Decimal{false, engine::Multiply(m.digits, q), m.fraction});
}

std::string FieldText(bool negative, const engine::Natural& n) {
  std::string text = negative ? "-" : "";
  n.AppendDigits(text);
  return FitsCell(text) ? text : std::string("#NUM!");
}

}  // namespace

type_Fraction ReduceFraction_Function(std::string_view numerator, std::string_view divisor, bool simplify_signs,
                                      bool always_simplify, std::optional<double> /*maximum_significant_digits*/) {
  engine::type_CleanUp ca = engine::CleanUp(numerator, true, true);
  if (ca.IsError || HasError(ca.NumClean)) return AllFields(ca.NumClean);
  engine::type_CleanUp cb = engine::CleanUp(divisor, true, true);
  if (cb.IsError || HasError(cb.NumClean)) return AllFields(cb.NumClean);
  std::string a = std::move(ca.NumClean);
  std::string b = std::move(cb.NumClean);
  // A number no cell can hold (3E+40000) is not reduced as the rounded
  // number the reader made of it.
  if (!FitsCell(a) || !FitsCell(b)) return AllFields("#NUM!");
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

  const std::optional<Decimal> x = ReadDecimal(a);
  const std::optional<Decimal> y = ReadDecimal(b);
  if (!x || !y) return AllFields("#VALUE!");
  const Reduction r = Reduce(*x, *y);
  // Reduced by a factor below 1, the numerator would grow.
  if (!always_simplify && !r.reduced) return {a, b, "1"};

  type_Fraction out;
  out.Numerator = FieldText(x->negative, engine::Divide(r.A, r.g).quotient);
  out.divisor = FieldText(y->negative, engine::Divide(r.B, r.g).quotient);
  out.Reduced_By = DecimalText(Normalised(Decimal{false, r.g, std::max(x->fraction, y->fraction)}));
  return out;
}

namespace {

enum class Fold { Gcd, Lcm };

std::string GcdLcm(std::span<const Value> numlist, bool keep_as_given, Fold fold) {
  frame::DirectiveReader directives(frame::DefaultMaxSD());
  Decimal running;
  bool have = false;
  bool negative = false;
  bool too_long = false;  // a multiple beyond a cell, which stays the answer
  const frame::WalkEnd end = frame::WalkList(numlist, directives, [&](const frame::ListItem& item) {
    std::string t;
    if (keep_as_given) {
      // Taken as given, but only a number: a text would fail every later
      // reduction and be the result.
      engine::type_CleanUp c = engine::CleanUp(item.upper, true, true);
      if (c.IsError || HasError(c.NumClean)) return true;
      t = std::move(c.NumClean);
    } else {
      t = Trunc_Function(item.upper);
      if (HasError(t)) return true;
    }
    // The sign of the number read, not of the text: "-0" is no negative.
    std::optional<Decimal> v = ReadDecimal(t);
    if (!v) return true;
    if ((fold == Fold::Lcm || !keep_as_given) && v->negative) {
      negative = true;
      return false;
    }
    if (!have) {
      running = Normalised(std::move(*v));
      have = true;
      return true;
    }
    if (too_long) return true;
    const Decimal factor = CommonFactor(running, *v);
    if (fold == Fold::Gcd) {
      running = factor;
      return true;
    }
    // m / gcd(m, t) * t, exact: a multiple that fits a cell is never lost
    // to an intermediate that does not; one that does not fit is "#NUM!".
    running = MultipleOf(running, factor, *v);
    too_long = IntegerDigits(running) > static_cast<std::size_t>(frame::kCellLimit);
    return true;
  });
  if (negative || too_long || end == frame::WalkEnd::kValueTooLong) return "#NUM!";
  if (!have) return std::string();
  return frame::ComposeListResult(DecimalText(running), directives.Options());
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
    // The fraction text is an error text when either number is one, or when
    // the two together are more than a cell holds.
    std::string text = engine::HasError(f.divisor)     ? f.divisor
                       : engine::HasError(f.Numerator) ? f.Numerator
                                                       : f.Numerator + separator + f.divisor;
    if (static_cast<double>(text.size()) > frame::kCellLimit) text = "#NUM!";

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
