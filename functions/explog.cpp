// The exponential and the logarithms as chains of the dispatcher's steps.
#include "functions/explog.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/decimal.h"
#include "engine/division.h"
#include "engine/errors.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/guard.h"
#include "frame/restrictionator.h"
#include "frame/steps.h"
#include "functions/constants.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

using engine::Decimal;
using engine::Natural;
using frame::StepNumber;

namespace {

// The longest stored ln 2 a request may cut (the largest working precision
// a logarithm asks for).
constexpr double kLongestStoredLn2 = 40051;
// The fewest significant digits the natural logarithm works at: with none
// to spare, a short precision gets even the leading digit wrong.
constexpr double kFewestLnDigits = 10;
// Above this magnitude e^x has more than 34,000 integer digits, far beyond
// a cell (and e^-x far below the smallest number a cell shows).
constexpr double kLargestExpArgument = 80000;

StepNumber Whole(std::int64_t k) {
  const auto magnitude = static_cast<std::uint64_t>(k < 0 ? -k : k);
  return StepNumber(Decimal(k < 0, Natural(magnitude), 0));
}

// Get_Exponent of a number text, written out: the digits before the
// separator, or minus the zeros that follow it in a number below 1, read on
// the characters (a sign counts as a character before the separator).
std::int64_t ExponentOfText(std::string_view text) {
  const char sep = engine::GetDecimalSeparator();
  std::size_t start = 0;
  while (start < text.size() && text[start] == '0') ++start;
  const std::string_view t = text.substr(start);
  if (!t.empty() && t.front() == sep) {
    std::size_t j = 1;  // the separator is position 1
    while (j < t.size() && t[j] == '0') ++j;
    // j is now the 0-based index of the first digit that is not 0, or the
    // length; as a 1-based position that is j + 1.
    return 2 - static_cast<std::int64_t>(j + 1);
  }
  const std::size_t s = t.find(sep);
  if (s != std::string_view::npos) return static_cast<std::int64_t>(s);
  return static_cast<std::int64_t>(t.size());
}

// The maxSD a worker was handed: omitted or not a number is DefaultMaxSD.
double ReadMaxSD(const Value& maximum_significant_digits) {
  if (maximum_significant_digits.isOmitted()) return frame::DefaultMaxSD();
  const auto d = platform::VariantToDouble(maximum_significant_digits);
  return d ? *d : frame::DefaultMaxSD();
}

// The worker's value returned: rounded to maxSD for an internal caller,
// else composed like an operator's result with the exponential notation.
std::string Finish(const StepNumber& value, const Value& exponential_notation,
                   const Value& maximum_significant_digits, double maxSD, bool internal_call) {
  if (value.IsError()) return value.error;
  if (internal_call) return engine::RoundToMaxSD(value.Text(), maxSD);
  const Value none;
  const type_Restrictionator options = frame::Restrictionator(none, none, none, exponential_notation,
                                                              maximum_significant_digits, none, none);
  return frame::Calculate(engine::kAdd, Value::Text(value.Text()), Value::Text("0"), none, none, none,
                          Value::Bool(options.ExponentialNotation), Value::Number(options.maxSD), true);
}

// The number a worker reads: CleanUp's normal form with its sign, or
// nothing for an error text or a text that is not a number.
std::optional<StepNumber> ReadNumber(const Value& num) {
  const StepNumber n = StepNumber::Read(detail::TextOrFail(num));
  if (n.IsError()) return std::nullopt;
  return n.ValueOnly();
}

}  // namespace

namespace explog_detail {

std::int64_t TermExponent(const StepNumber& t) {
  // A text cut to a cell's length (its zeros kept) is read as written.
  if (!t.cut.empty()) return ExponentOfText(t.cut) - 1;
  const Decimal& v = t.value;
  if (v.IsZero()) return -1;
  const auto digits = static_cast<std::int64_t>(v.DigitCount());
  if (v.negative) return v.IntegerChars() + 1 - 1;  // "-" then the integer part
  if (digits > v.frac) return digits - v.frac - 1;
  return -(v.frac - digits) - 1;
}

StepNumber DivideBySmall(const StepNumber& a, std::uint32_t d, double maxSD) {
  // The dispatcher's own step divides by a small whole number in linear
  // time with Osrel_Divide's digits (engine::Osrel_DivideSmall).
  return frame::StepDivide(a, StepNumber(Decimal::Integer(d)), maxSD);
}

namespace {

// The power of ten of v's leading digit (v nonzero).
std::int64_t LeadingExponent(const Decimal& v) { return static_cast<std::int64_t>(v.DigitCount()) - 1 - v.frac; }

// |v| cut to its first n significant digits (toward zero).
Decimal FirstDigitsOf(const Decimal& v, std::size_t n) {
  const std::size_t digits = v.DigitCount();
  if (n >= digits) return Decimal(false, v.coef, v.frac);
  const auto drop = static_cast<std::int64_t>(digits - n);
  Decimal out(false, engine::ShiftDecimalRight(v.coef, static_cast<std::size_t>(drop)), v.frac - drop);
  if (out.frac < 0) {
    out.coef = engine::ShiftDecimalLeft(out.coef, static_cast<std::size_t>(-out.frac));
    out.frac = 0;
  }
  out.Normalize();
  return out;
}

Decimal PowerOfTen(std::int64_t e) {
  if (e >= 0) return Decimal(false, engine::ShiftDecimalLeft(Natural(1), static_cast<std::size_t>(e)), 0);
  return Decimal(false, Natural(1), -e);
}

// Digits beyond those the composer can keep that an operand's cut keeps, so
// that the product's bracket rarely straddles a kept digit.
constexpr std::int64_t kCutGuardDigits = 12;

// The product composed from operands cut to the digits the composed result
// can depend on, where a cell's length keeps fewer digits than the working
// precision: with a_t, b_t the cuts and u_a, u_b their last units,
//     a_t b_t <= |a b| < a_t b_t + 10^(E_a + 1) u_b + 10^(E_b + 1) u_a,
// and the composer (a rounding, then the cell's cut: monotone in the
// magnitude) gives both ends the same value only if it gives |a b| that
// value too. nullopt when the bracket is not decisive or there is nothing
// to cut.
std::optional<StepNumber> ProductFromCutOperands(const StepNumber& a, const StepNumber& b, double W,
                                                 std::size_t kept) {
  const bool negative = a.value.negative != b.value.negative;
  const std::int64_t Ea = LeadingExponent(a.value);
  const std::int64_t Eb = LeadingExponent(b.value);
  // The lowest digit the composer keeps: the kept-th significant digit of
  // the product (its leading digit lies at Ea + Eb or one above), or the
  // last fraction digit a cell shows of a number below 1.
  const auto room = static_cast<std::int64_t>(engine::kCellCharacters) - (negative ? 1 : 0);
  const std::int64_t lowest = std::max<std::int64_t>(Ea + Eb + 1 - static_cast<std::int64_t>(kept) + 1, -(room - 2));
  // Each operand down to the place where its digits move the product's
  // digit at `lowest` no more than 10^-kCutGuardDigits of a unit.
  const std::int64_t needA = Ea - (lowest - Eb - 1 - kCutGuardDigits) + 1;
  const std::int64_t needB = Eb - (lowest - Ea - 1 - kCutGuardDigits) + 1;
  const auto digitsA = static_cast<std::int64_t>(a.value.DigitCount());
  const auto digitsB = static_cast<std::int64_t>(b.value.DigitCount());
  if (needA < 1 || needB < 1 || (needA >= digitsA && needB >= digitsB)) return std::nullopt;
  const Decimal at = FirstDigitsOf(a.value, static_cast<std::size_t>(std::min(needA, digitsA)));
  const Decimal bt = FirstDigitsOf(b.value, static_cast<std::size_t>(std::min(needB, digitsB)));
  Decimal spread;
  if (needA < digitsA) spread = engine::Add(spread, PowerOfTen(Eb + 1 + (Ea - needA + 1)));
  if (needB < digitsB) spread = engine::Add(spread, PowerOfTen(Ea + 1 + (Eb - needB + 1)));
  StepNumber lo(engine::Multiply(at, bt));
  StepNumber hi(engine::Add(lo.value, spread));
  lo.value.negative = negative && !lo.value.IsZero();
  hi.value.negative = negative;
  frame::ComposeStep(lo, W);
  frame::ComposeStep(hi, W);
  if (lo.IsError() || hi.IsError() || lo.cut != hi.cut || engine::Compare(lo.value, hi.value) != 0) return std::nullopt;
  return lo;
}

}  // namespace

StepNumber MultiplyStep(const StepNumber& a, const StepNumber& b, double maxSD) {
  // The composer rounds half up to KeptDigits significant digits, which
  // reads the product's first KeptDigits + 1 digits and no more, and fits
  // the rounded value to a cell: the leading digits are all it needs.
  if (a.IsError() || b.IsError() || a.value.IsZero() || b.value.IsZero() || a.value.IsOne() || b.value.IsOne()) {
    return frame::StepMultiply(a, b, maxSD);
  }
  const double W = frame::WorkingPrecision(maxSD);
  const auto kept = static_cast<std::size_t>(std::max(1.0, std::nearbyint(W + 1)));
  if (std::optional<StepNumber> cut = ProductFromCutOperands(a, b, W, kept)) return std::move(*cut);
  std::size_t D = 0;
  Natural lead = engine::LeadingDigitsOfProduct(a.value.coef, b.value.coef, kept + 1, &D);
  const std::size_t dropped = D - lead.DigitCount();
  StepNumber out;
  out.value = Decimal(a.value.negative != b.value.negative, std::move(lead),
                      a.value.frac + b.value.frac - static_cast<std::int64_t>(dropped));
  if (out.value.frac < 0) {
    out.value.coef = engine::ShiftDecimalLeft(out.value.coef, static_cast<std::size_t>(-out.value.frac));
    out.value.frac = 0;
  }
  out.value.Normalize();
  frame::ComposeStep(out, W);
  return out;
}

}  // namespace explog_detail

using explog_detail::DivideBySmall;
using explog_detail::MultiplyStep;
using explog_detail::TermExponent;

namespace {

// The series stop at the first term whose leading digit lies below
// 10^-P, or at the backstop N = 5 P.
bool BelowPrecision(const StepNumber& term, double P) { return -P > static_cast<double>(TermExponent(term)); }

double TermBound(double P) { return std::nearbyint(P * 5); }

// A term that is exactly zero (a cell's length cut it to nothing, or the
// series has no terms at all, as for a power of two) stays zero, and its
// exponent, -1, never ends the loop: every later step adds zero to the sum
// again, which leaves it as the step that just did so left it. The loop
// would only count on to its backstop, so it may stop here.
bool Vanished(const StepNumber& term) { return term.value.IsZero() && term.cut.empty(); }

// ln(num) before its rounding, at working precision P, for num > 0.
StepNumber LnValue(const StepNumber& num, double P) {
  const StepNumber L2 = StepNumber::FromText(Get_Ln2(P));
  // k: the power of two at or just below num, from the double of num; a
  // number a double cannot hold (beyond about 1.8E+308, or so small that it
  // converts to 0) takes it from its decimal exponent instead.
  std::int64_t k = 0;
  const std::optional<double> v = platform::TextToDouble(num.Text());
  if (v && std::isfinite(*v) && *v > 0) {
    k = static_cast<std::int64_t>(std::floor(std::log(*v) / std::log(2.0)));
  } else {
    const std::optional<double> lg = engine::Log10(num.value);
    if (!lg) return StepNumber::Error("#VALUE!");
    k = static_cast<std::int64_t>(std::floor(*lg / std::log10(2.0)));
  }
  const StepNumber one(Decimal::Integer(1));
  const StepNumber p = frame::StepPower(Decimal::Integer(2), Whole(k < 0 ? -k : k), P);
  const StepNumber y = k >= 0 ? frame::StepDivide(num, p, P) : frame::StepMultiply(num, p, P);
  const StepNumber z = frame::StepDivide(frame::StepAdd(y, Whole(-1), P), frame::StepAdd(y, one, P), P);

  StepNumber sum = z;
  StepNumber term = z;
  const StepNumber z2 = frame::StepMultiply(z, z, P);
  const double N = TermBound(P);
  for (double i = 3; i <= N; i += 2) {
    term = MultiplyStep(term, z2, P);
    const StepNumber t = DivideBySmall(term, static_cast<std::uint32_t>(i), P);
    sum = frame::StepAdd(sum, t, P);
    if (sum.IsError() || BelowPrecision(t, P) || Vanished(term)) break;
  }
  sum = frame::StepMultiply(Decimal::Integer(2), sum, P);
  const StepNumber r = frame::StepMultiply(L2, Whole(k), P);
  return frame::StepAdd(r, sum, P);
}

// e^num before its rounding, at working precision P = maxSD + 10.
StepNumber ExpValue(const StepNumber& num, double maxSD) {
  const StepNumber one(Decimal::Integer(1));
  const bool neg = num.value.negative;
  StepNumber x = num;
  x.value.negative = false;
  // Beyond any cell: e^x too large (#NUM!), e^-x too small (0). A 32-bit
  // count of ln 2 in x would overflow long before.
  if (engine::Compare(x.value, Decimal::Integer(static_cast<std::uint64_t>(kLargestExpArgument))) > 0) {
    return neg ? StepNumber(Decimal()) : StepNumber::Error("#NUM!");
  }
  const double P = std::nearbyint(maxSD + 10);
  const std::string l2 = Get_Ln2(P);
  const std::optional<double> v = platform::TextToDouble(x.Text());
  const std::optional<double> w = platform::TextToDouble(l2);
  if (!v || !w || engine::HasError(l2)) return StepNumber::Error("#VALUE!");
  const StepNumber L2 = StepNumber::FromText(l2);
  const auto k = static_cast<std::int64_t>(std::floor(*v / *w));

  StepNumber r = frame::StepSubtract(x, frame::StepMultiply(Whole(k), L2, P), P);
  int h = 0;
  const Decimal tenth(false, Natural(1), 1);
  while (!r.IsError() && engine::Compare(r.value, tenth) >= 0) {
    r = DivideBySmall(r, 2, P);
    ++h;
  }
  StepNumber sum = frame::StepAdd(one, r, P);
  StepNumber term = r;
  const double N = TermBound(P);
  for (double i = 2; i <= N; ++i) {
    term = MultiplyStep(term, DivideBySmall(r, static_cast<std::uint32_t>(i), P), P);
    sum = frame::StepAdd(sum, term, P);
    if (sum.IsError() || BelowPrecision(term, P) || Vanished(term)) break;
  }
  for (int j = 0; j < h; ++j) sum = MultiplyStep(sum, sum, P);
  if (k > 0) sum = frame::StepMultiply(sum, frame::StepPower(Decimal::Integer(2), Whole(k), P), P);
  if (neg) {
    // e^|x| too large for a cell: e^x is below the smallest number one shows.
    if (sum.IsError() && sum.error == "#NUM!") return StepNumber(Decimal());
    sum = frame::StepDivide(one, sum, P);
  }
  return frame::StepMultiply(one, sum, P);
}

}  // namespace

std::string Get_TermExponent(std::string_view t, double precision) {
  return frame::CalculateText(engine::kSubtract, std::to_string(ExponentOfText(t)), "1", precision);
}

std::string Exp_Function(const Value& num, const Value& exponential_notation, const Value& maximum_significant_digits,
                         bool internal_call) {
  const std::optional<StepNumber> x = ReadNumber(num);
  if (!x) return "#VALUE!";
  if (x->value.IsZero()) return "1";
  double maxSD = ReadMaxSD(maximum_significant_digits);
  if (!internal_call) maxSD = std::clamp(maxSD, 0.0, engine::kMaxSignificantDigits);
  return Finish(ExpValue(*x, maxSD), exponential_notation, maximum_significant_digits, maxSD, internal_call);
}

std::string Ln_Function(const Value& num, const Value& exponential_notation, const Value& maximum_significant_digits,
                        bool internal_call) {
  const std::optional<StepNumber> x = ReadNumber(num);
  if (!x) return "#VALUE!";
  if (x->value.IsOne()) return "0";
  if (x->value.IsZero() || x->value.negative) return "#NUM!";
  double maxSD = ReadMaxSD(maximum_significant_digits);
  if (!internal_call) maxSD = std::clamp(maxSD, 0.0, engine::kMaxSignificantDigits);
  const double P = std::max(maxSD, kFewestLnDigits);
  return Finish(LnValue(*x, P), exponential_notation, maximum_significant_digits, maxSD, internal_call);
}

std::string Log_Function(const Value& num, const Value& num_base, const Value& exponential_notation,
                         const Value& maximum_significant_digits, bool internal_call) {
  const std::optional<StepNumber> x = ReadNumber(num);
  if (!x) return "#VALUE!";
  if (x->value.IsOne()) return "0";
  if (x->value.IsZero() || x->value.negative) return "#NUM!";
  const std::optional<StepNumber> base =
      num_base.isOmitted() ? std::optional<StepNumber>(StepNumber(Decimal::Integer(10))) : ReadNumber(num_base);
  if (!base) return "#VALUE!";
  double maxSD = ReadMaxSD(maximum_significant_digits);
  if (!internal_call) maxSD = std::clamp(maxSD, 0.0, engine::kMaxSignificantDigits);
  const bool ten = engine::Compare(base->value, Decimal::Integer(10)) == 0;
  const bool two = engine::Compare(base->value, Decimal::Integer(2)) == 0;
  // Ten guard digits, as for base 10, for every base but 2, which gets two:
  // never a precision growing with the base. Below 10 significant digits the
  // cut ln 2 would be too short for even the leading digit of a base-2
  // logarithm, so the logarithms work at no fewer, as the natural one does.
  const double P =
      std::min(std::nearbyint(std::max(maxSD, kFewestLnDigits) + (two ? 2 : 10)), kLongestStoredLn2);
  const Value precision = Value::Number(P);
  const StepNumber lb = ten   ? StepNumber::FromText(Get_Ln10(P))
                        : two ? StepNumber::FromText(Get_Ln2(P))
                              : StepNumber::FromText(Ln_Function(Value::Text(base->Text()), {}, precision, true));
  const StepNumber ln = StepNumber::FromText(Ln_Function(Value::Text(x->Text()), {}, precision, true));
  return Finish(frame::StepDivide(ln, lb, P), exponential_notation, maximum_significant_digits, maxSD, internal_call);
}

Value dcmEXP(const Value& num, const Value& exponential_notation, const Value& maximum_significant_digits) {
  return frame::GuardCall([&] { return Exp_Function(num, exponential_notation, maximum_significant_digits, false); });
}

Value dcmLN(const Value& num, const Value& exponential_notation, const Value& maximum_significant_digits) {
  return frame::GuardCall([&] { return Ln_Function(num, exponential_notation, maximum_significant_digits, false); });
}

Value dcmLOG(const Value& num, const Value& num_base, const Value& exponential_notation,
             const Value& maximum_significant_digits) {
  return frame::GuardCall(
      [&] { return Log_Function(num, num_base, exponential_notation, maximum_significant_digits, false); });
}

}  // namespace decimora::functions
