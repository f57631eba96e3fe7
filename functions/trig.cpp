// Sine, cosine and tangent by Taylor series after a reduction to the first
// quadrant, and the degree/radian conversions, on the dispatcher's steps.
#include "functions/trig.h"

#include <cstdint>
#include <string>

#include "engine/decimal.h"
#include "engine/errors.h"
#include "engine/natural.h"
#include "frame/guard.h"
#include "frame/restrictionator.h"
#include "frame/steps.h"
#include "functions/constants.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

using engine::Decimal;
using frame::StepNumber;

namespace detail {

double TrigMaxSD(const Value& maxSD) { return FormatOptions({}, {}, {}, {}, maxSD).maxSD; }

std::string AngleText(const Value& num) {
  std::string text = TextOrFail(num);
  if (text.empty()) return "0";
  if (StepNumber::Read(text).IsError() && !engine::IsErrorText(text)) throw frame::CallFailed();
  return text;
}

StepNumber PiStep(double maxSD) { return StepNumber::Read(Get_Pi(maxSD)); }

namespace {

// The sign workers compose their result at the largest maxSD: the value is
// rounded to its kept digits and fitted to a cell as a step's result is.
StepNumber Composed(StepNumber n) {
  if (!frame::ComposeKeeps(n, frame::kMaxSignificantDigits)) frame::ComposeStep(n, frame::kMaxSignificantDigits);
  n.cut.clear();
  return n;
}

StepNumber WithSign(StepNumber n, bool negative) {
  if (n.IsError()) return n;
  n.value.negative = negative && !n.value.IsZero();
  return Composed(std::move(n));
}

}  // namespace

StepNumber ChangeSignStep(const StepNumber& n) { return WithSign(n.ValueOnly(), !n.value.negative); }
StepNumber ChangeSignStep(StepNumber&& n) {
  const bool negative = !n.value.negative;
  n.cut.clear();
  return WithSign(std::move(n), negative);
}
StepNumber NegStep(const StepNumber& n) { return WithSign(n.ValueOnly(), true); }
StepNumber AbsStep(const StepNumber& n) { return WithSign(n.ValueOnly(), false); }

StepNumber IntStep(const StepNumber& n) {
  if (n.IsError()) return n;
  const Decimal& v = n.value;
  if (v.frac == 0) return Composed(StepNumber(v));
  // floor: drop the fraction; a negative number with a nonzero fraction
  // goes one further from zero.
  engine::Natural whole = engine::ShiftDecimalRight(v.coef, static_cast<std::size_t>(v.frac));
  if (v.negative) whole = engine::Add(whole, engine::Natural(1));  // a normal fraction is nonzero
  Decimal out(v.negative, std::move(whole), 0);
  out.Normalize();
  return Composed(StepNumber(std::move(out)));
}

bool TermNegligible(const StepNumber& term, double maxSD) {
  if (term.IsError() || term.value.IsZero()) return true;
  const Decimal& v = term.value;
  const double magnitude = static_cast<double>(v.DigitCount()) - 1 - static_cast<double>(v.frac);
  return -maxSD > magnitude;
}

int CompareSteps(const StepNumber& a, const StepNumber& b) {
  if (a.IsError() || b.IsError()) throw frame::CallFailed();
  return engine::Compare(a.value, b.value);
}

StepNumber Whole(std::int64_t k) {
  Decimal d = Decimal::Integer(static_cast<std::uint64_t>(k < 0 ? -k : k));
  d.negative = k < 0;
  return StepNumber(std::move(d));
}

}  // namespace detail

using detail::AbsStep;
using detail::ChangeSignStep;
using detail::CompareSteps;
using detail::IntStep;
using detail::NegStep;
using detail::TermNegligible;
using detail::Whole;

namespace {

StepNumber Mul(const StepNumber& a, const StepNumber& b, double m) { return frame::StepMultiply(a, b, m); }
StepNumber Div(const StepNumber& a, const StepNumber& b, double m) { return frame::StepDivide(a, b, m); }
StepNumber Add(const StepNumber& a, const StepNumber& b, double m) { return frame::StepAdd(a, b, m); }
StepNumber Sub(const StepNumber& a, const StepNumber& b, double m) { return frame::StepSubtract(a, b, m); }

// The reduced angle: quadrant 0 stands for an error (in alpha).
struct Reduced {
  StepNumber alpha;
  int quadrant = 0;
  bool asGiven = false;  // alpha is num itself
};

// h is pi/2 at maxSD m (the cut pi divided by 2).
Reduced Reduce(const StepNumber& num, const StepNumber& h, double m) {
  const StepNumber q = IntStep(Div(num, h, m));
  // q - 4 * floor(q / 4) + 1, one step at a time.
  const StepNumber quadrant =
      Add(Sub(q, Mul(IntStep(Div(q, Whole(4), m)), Whole(4), m), m), Whole(1), m);
  Reduced r;
  if (quadrant.IsError()) {
    r.alpha = quadrant;
    return r;
  }
  for (int k = 1; k <= 4; ++k) {
    if (engine::Compare(quadrant.value, Whole(k).value) == 0) r.quadrant = k;
  }
  if (r.quadrant == 0) {
    // The quotient lost its units digits to the rounding at maxSD: the
    // angle is too large to place in a quadrant at this precision.
    r.alpha = StepNumber::Error("#NUM!");
    return r;
  }
  const bool qZero = CompareSteps(q, Whole(0)) == 0;
  const bool qMinusOne = CompareSteps(q, Whole(-1)) == 0;
  if ((r.quadrant == 1 || r.quadrant == 3) && !qZero) {
    r.alpha = Mul(Sub(h, Div(num, q, m), m), ChangeSignStep(q), m);  // num - q h
  } else if ((r.quadrant == 2 || r.quadrant == 4) && !qMinusOne) {
    const StepNumber q1 = Add(q, Whole(1), m);
    r.alpha = Mul(Sub(h, Div(num, q1, m), m), q1, m);  // (q + 1) h - num
  } else if (qZero) {
    r.alpha = num;
    r.asGiven = true;
  } else {
    r.alpha = ChangeSignStep(num);
  }
  if (r.alpha.IsError()) r.quadrant = 0;
  return r;
}

// The series' divisor n (n - 1) (or n + 1), a whole number.
StepNumber Counter(std::int64_t n) { return Whole(n); }

StepNumber SinSeries(const StepNumber& x, double m) {
  // Zero written any way sums to "0": its first term is zero and ends the
  // series.
  const StepNumber x2 = frame::StepPower(x, Whole(2), m);
  StepNumber term = x;
  StepNumber sum = x;
  for (std::int64_t n = 1;;) {
    n += 2;
    term = ChangeSignStep(Div(Mul(term, x2, m), Counter(n * (n - 1)), m));
    sum = Add(sum, term, m);
    if (TermNegligible(term, m)) break;
  }
  return sum;
}

StepNumber CosSeries(const StepNumber& x, double m) {
  if (!x.IsError() && x.value.IsZero()) return Whole(1);
  const StepNumber x2 = frame::StepPower(x, Whole(2), m);
  StepNumber term = Whole(1);
  StepNumber sum = Whole(1);
  for (std::int64_t n = 0;;) {
    n += 2;
    term = ChangeSignStep(Div(Mul(term, x2, m), Counter(n * (n - 1)), m));
    sum = Add(sum, term, m);
    if (TermNegligible(term, m)) break;
  }
  return sum;
}

// sin x / cos x: the cosine terms c and, from each, the term of sin x / x,
// c / (n + 1), summed in one loop that stops on the cosine term.
StepNumber TanSeries(const StepNumber& x, double m) {
  if (!x.IsError() && x.value.IsZero()) return Whole(0);
  const StepNumber x2 = frame::StepPower(x, Whole(2), m);
  StepNumber c = Whole(1);
  StepNumber cs = Whole(1);
  StepNumber ss = Whole(1);
  for (std::int64_t n = 0;;) {
    n += 2;
    c = ChangeSignStep(Div(Mul(c, x2, m), Counter(n * (n - 1)), m));
    cs = Add(cs, c, m);
    ss = Add(ss, Div(c, Counter(n + 1), m), m);
    if (TermNegligible(c, m)) break;
  }
  return Div(Mul(ss, x, m), cs, m);
}

// 10 to the power -maxSD (operation 6), the last step's threshold; kept
// for the next call at the same maxSD.
const StepNumber& Threshold(double m) {
  thread_local double last = -1;
  thread_local StepNumber eps;
  if (m != last) {
    eps = frame::StepPower(Whole(10), StepNumber::Read(platform::FormatHostNumber(-m).value_or("")), m);
    last = m;
  }
  return eps;
}

enum class Trig { Sin, Cos, Tan };

std::string TrigFunction(Trig f, const Value& num_value, const Value& maxSD_value) {
  const double m = detail::TrigMaxSD(maxSD_value);
  const std::string text = detail::AngleText(num_value);
  const StepNumber& eps = Threshold(m);
  if (text == "0") return f == Trig::Cos ? "1" : "0";
  const StepNumber num = StepNumber::Read(text);
  if (num.IsError()) return num.error;

  const StepNumber pi = detail::PiStep(m);
  const StepNumber h = Div(pi, Whole(2), m);
  const Reduced r = Reduce(num, h, m);
  if (r.quadrant == 0) return r.alpha.Text();
  const bool direct = CompareSteps(Div(pi, Whole(4), m), r.alpha) >= 0;
  StepNumber v;
  switch (f) {
    case Trig::Sin:
      v = direct ? SinSeries(r.alpha, m) : CosSeries(Sub(h, r.alpha, m), m);
      if (r.quadrant >= 3) v = NegStep(v);
      break;
    case Trig::Cos:
      v = direct ? CosSeries(r.alpha, m) : SinSeries(Sub(h, r.alpha, m), m);
      if (r.quadrant == 2 || r.quadrant == 3) v = NegStep(v);
      break;
    case Trig::Tan:
      // At an odd multiple of pi/2 the cotangent's series is zero and the
      // division answers "#DIV/0!", which is the answer.
      v = direct ? TanSeries(r.alpha, m) : Div(Whole(1), TanSeries(Sub(h, r.alpha, m), m), m);
      if (r.quadrant == 2 || r.quadrant == 4) v = NegStep(v);
      break;
  }
  if (v.IsError()) return v.error;
  if (CompareSteps(eps, AbsStep(v)) > 0) return "0";
  return v.Text();
}

// pi / 180 * angle, or 180 / pi * angle, with maxSD as given: a maxSD
// beyond pi's stored length makes pi, and so the result, "#NUM!".
std::string Conversion(bool to_radians, const Value& angle, const Value& maxSD_value) {
  double m = frame::DefaultMaxSD();
  if (!maxSD_value.isOmitted()) {
    const auto d = platform::VariantToDouble(maxSD_value);
    if (!d) throw frame::CallFailed();
    m = *d;
  }
  const StepNumber pi = StepNumber::Read(Get_Pi(m));
  const StepNumber s = to_radians ? Div(pi, Whole(180), m) : Div(Whole(180), pi, m);
  return Mul(s, StepNumber::Read(detail::TextOrFail(angle)), m).Text();
}

}  // namespace

}  // namespace decimora::functions

namespace decimora::functions {

type_Reduce90 Reduce_Angle(std::string_view num, double maxSD) {
  const Reduced r = Reduce(StepNumber::Read(num), Div(detail::PiStep(maxSD), Whole(2), maxSD), maxSD);
  if (r.quadrant == 0) return {r.alpha.Text(), ""};
  return {r.asGiven ? std::string(num) : r.alpha.Text(), std::to_string(r.quadrant)};
}

std::string Sin_Series(std::string_view x, double maxSD) { return SinSeries(StepNumber::Read(x), maxSD).Text(); }
std::string Cos_Series(std::string_view x, double maxSD) { return CosSeries(StepNumber::Read(x), maxSD).Text(); }
std::string Tan_Series(std::string_view x, double maxSD) { return TanSeries(StepNumber::Read(x), maxSD).Text(); }

std::string Get_Magnitude(std::string_view x) {
  const StepNumber n = StepNumber::Read(x);
  if (n.IsError()) return n.error;
  if (n.value.IsZero()) return "0";
  return std::to_string(static_cast<std::int64_t>(n.value.DigitCount()) - 1 - n.value.frac);
}

std::string Sin_Function(const Value& num, const Value& maxSD) { return TrigFunction(Trig::Sin, num, maxSD); }
std::string Cos_Function(const Value& num, const Value& maxSD) { return TrigFunction(Trig::Cos, num, maxSD); }
std::string Tan_Function(const Value& num, const Value& maxSD) { return TrigFunction(Trig::Tan, num, maxSD); }
std::string Radians_Function(const Value& angle, const Value& maxSD) { return Conversion(true, angle, maxSD); }
std::string Degrees_Function(const Value& angle, const Value& maxSD) { return Conversion(false, angle, maxSD); }

// --- Worksheet functions ----------------------------------------------------

Value dcmSIN(const Value& num, const Value& maxSD) {
  return frame::GuardCall([&] { return Sin_Function(num, maxSD); });
}
Value dcmCOS(const Value& num, const Value& maxSD) {
  return frame::GuardCall([&] { return Cos_Function(num, maxSD); });
}
Value dcmTAN(const Value& num, const Value& maxSD) {
  return frame::GuardCall([&] { return Tan_Function(num, maxSD); });
}
Value dcmRADIANS(const Value& degrees, const Value& maxSD) {
  return frame::GuardCall([&] { return Radians_Function(degrees, maxSD); });
}
Value dcmDEGREES(const Value& radians, const Value& maxSD) {
  return frame::GuardCall([&] { return Degrees_Function(radians, maxSD); });
}

}  // namespace decimora::functions
