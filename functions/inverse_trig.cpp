// Arctangent, arcsine and arccosine on the dispatcher's steps.
#include "functions/inverse_trig.h"

#include <cstdint>
#include <string>

#include "engine/decimal.h"
#include "frame/guard.h"
#include "frame/steps.h"
#include "functions/constants.h"
#include "functions/trig.h"

namespace decimora::functions {

using engine::Decimal;
using frame::StepNumber;
using detail::AbsStep;
using detail::ChangeSignStep;
using detail::CompareSteps;
using detail::Whole;

namespace {

StepNumber Mul(const StepNumber& a, const StepNumber& b, double m) { return frame::StepMultiply(a, b, m); }
StepNumber Div(const StepNumber& a, const StepNumber& b, double m) { return frame::StepDivide(a, b, m); }
StepNumber Add(const StepNumber& a, const StepNumber& b, double m) { return frame::StepAdd(a, b, m); }
StepNumber Sub(const StepNumber& a, const StepNumber& b, double m) { return frame::StepSubtract(a, b, m); }

// A decimal fraction digits / 10^frac, such as 0.4 or -0.5.
StepNumber Tenths(std::int64_t tenths) {
  StepNumber n = Whole(tenths);
  n.value.frac = 1;
  return n;
}

StepNumber ATanSeries(const StepNumber& x, double m) {
  // A zero written any way sums to "0": its first power term is zero and
  // ends the series.
  if (!x.IsError() && x.value.IsZero()) return Whole(0);
  const StepNumber x2 = Mul(x, x, m);
  StepNumber term = x;
  StepNumber sum = x;
  for (std::int64_t n = 1;;) {
    n += 2;
    term = ChangeSignStep(Mul(term, x2, m));  // +-x^n
    sum = Add(sum, Div(term, Whole(n), m), m);
    if (detail::TermNegligible(term, m)) break;
  }
  return sum;
}

StepNumber ATan(const StepNumber& num, double m) {
  if (num.IsError()) return num;
  const StepNumber pi = detail::PiStep(m);
  const bool negative = CompareSteps(Whole(0), num) > 0;
  const StepNumber x = negative ? ChangeSignStep(num) : num;
  const bool over = CompareSteps(AbsStep(num), Whole(1)) > 0;
  const StepNumber y = over ? Div(Whole(1), x, m) : x;
  const bool big = CompareSteps(AbsStep(y), Tenths(4)) > 0;
  const StepNumber w = big ? Div(Sub(y, Whole(1), m), Add(y, Whole(1), m), m) : y;
  StepNumber v = ATanSeries(w, m);
  if (big) v = Add(v, Div(pi, Whole(4), m), m);
  if (over) v = Sub(Div(pi, Whole(2), m), v, m);
  if (negative) v = ChangeSignStep(v);
  return v;
}

// sqrt(1 - num^2), by the dispatcher's root of degree 2.
StepNumber CoRoot(const StepNumber& num, double m) {
  const StepNumber d = Sub(Whole(1), Mul(num, num, m), m);
  return frame::StepRoot(d, Whole(2), m);
}

}  // namespace

std::string ATan_Series(std::string_view x, double maxSD) { return ATanSeries(StepNumber::Read(x), maxSD).Text(); }

std::string ATan_Function(const Value& num, const Value& maxSD) {
  const double m = detail::TrigMaxSD(maxSD);
  return ATan(StepNumber::Read(detail::AngleText(num)), m).Text();
}

std::string ASin_Function(const Value& num_value, const Value& maxSD) {
  const double m = detail::TrigMaxSD(maxSD);
  const StepNumber num = StepNumber::Read(detail::AngleText(num_value));
  if (num.IsError()) return num.error;
  const StepNumber pi = detail::PiStep(m);
  if (CompareSteps(AbsStep(num), Whole(1)) > 0) return "#NUM!";
  if (CompareSteps(num, Whole(1)) == 0) return Mul(pi, Tenths(5), m).Text();
  if (CompareSteps(num, Whole(-1)) == 0) return Mul(pi, Tenths(-5), m).Text();
  return ATan(Div(num, CoRoot(num, m), m), m).Text();
}

std::string ACos_Function(const Value& num_value, const Value& maxSD) {
  const double m = detail::TrigMaxSD(maxSD);
  const StepNumber num = StepNumber::Read(detail::AngleText(num_value));
  if (num.IsError()) return num.error;
  const StepNumber pi = detail::PiStep(m);
  if (CompareSteps(AbsStep(num), Whole(1)) > 0) return "#NUM!";
  // The three exact values, found by comparing the number itself (not a
  // double that cannot tell 0.99999999999999999999 from 1).
  if (CompareSteps(num, Whole(1)) == 0) return "0";
  if (CompareSteps(num, Whole(0)) == 0) return Mul(pi, Tenths(5), m).Text();
  if (CompareSteps(num, Whole(-1)) == 0) return Get_Pi(m);
  StepNumber a = ATan(Div(CoRoot(num, m), num, m), m);
  if (num.value.negative) a = Add(a, pi, m);
  return a.Text();
}

// --- Worksheet functions ----------------------------------------------------

Value dcmATAN(const Value& num, const Value& maxSD) {
  return frame::GuardCall([&] { return ATan_Function(num, maxSD); });
}
Value dcmASIN(const Value& num, const Value& maxSD) {
  return frame::GuardCall([&] { return ASin_Function(num, maxSD); });
}
Value dcmACOS(const Value& num, const Value& maxSD) {
  return frame::GuardCall([&] { return ACos_Function(num, maxSD); });
}

}  // namespace decimora::functions
