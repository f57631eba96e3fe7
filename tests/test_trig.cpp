// The trigonometric and inverse trigonometric workers against a literal,
// text-only transcription of their algorithms (every step a call of the text
// dispatcher, the sign workers and the exact comparison), on thousands of
// random angles at small precisions; and the answers the steps alone cannot
// show (the threshold, the mended zero tests, errors).
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/restrictionator.h"
#include "functions/constants.h"
#include "functions/inverse_trig.h"
#include "functions/rounding.h"
#include "functions/trig.h"
#include "platform/convert.h"

namespace decimora {
namespace {

// --- The literal transcription --------------------------------------------------
namespace lit {

struct Failed : std::runtime_error {
  Failed() : std::runtime_error("comparison of a non-number") {}
};

std::string C(std::int16_t code, const std::string& a, const std::string& b, double m) {
  return frame::CalculateText(code, a, b, m);
}
bool Cmp(const std::string& a, const std::string& b, bool or_equal, bool greater) {
  const Value v = frame::CompareNumbers(a, b, or_equal, greater);
  if (!v.isBool()) throw Failed();
  return v.boolean();
}
bool Eq(const std::string& a, const std::string& b) { return Cmp(a, b, true, false); }
std::string Num(double d) { return platform::FormatHostNumber(d).value(); }

std::string Magnitude(const std::string& x) {
  const std::string a = engine::ExpandExponent(functions::Abs_Function(x));
  if (a == "0") return "0";
  const char sep = engine::GetDecimalSeparator();
  if (a.size() > 1 && a[0] == '0' && a[1] == sep) {
    std::size_t zeros = 0;
    while (2 + zeros < a.size() && a[2 + zeros] == '0') ++zeros;
    return std::to_string(-1 - static_cast<long long>(zeros));
  }
  // A number with one integer digit comes back without an exponent part.
  const std::string e = frame::ToExponential(a);
  if (e.find('E') == std::string::npos) return "0";
  std::string after = e.substr(e.find('E') + 1);
  if (!after.empty() && after[0] == '+') after.erase(0, 1);
  return after;
}
// -maxSD > magnitude; a zero term ends the series too, and so does an
// error (a term too large for a cell), which then is the answer.
bool Stop(const std::string& term, double m) {
  if (engine::HasError(term) || Eq(term, "0")) return true;
  return Cmp(functions::Neg_Function(Num(m)), Magnitude(term), false, true);
}

std::string SinSeries(const std::string& x, double m) {
  if (x == "0") return "0";
  const std::string x2 = C(6, x, "2", m);
  std::string term = x, sum = x;
  double n = 1;
  do {
    n += 2;
    const std::string d = Num(n * (n - 1));
    term = C(3, term, x2, m);
    term = C(4, term, d, m);
    term = functions::ChangeSign_Function(term);
    sum = C(1, sum, term, m);
  } while (!Stop(term, m));
  return sum;
}

std::string CosSeries(const std::string& x, double m) {
  if (Eq(x, "0")) return "1";
  const std::string x2 = C(6, x, "2", m);
  std::string term = "1", sum = "1";
  double n = 0;
  do {
    n += 2;
    const std::string d = Num(n * (n - 1));
    term = C(3, term, x2, m);
    term = C(4, term, d, m);
    term = functions::ChangeSign_Function(term);
    sum = C(1, sum, term, m);
  } while (!Stop(term, m));
  return sum;
}

std::string TanSeries(const std::string& x, double m) {
  if (Eq(x, "0")) return "0";
  const std::string x2 = C(6, x, "2", m);
  std::string c = "1", cs = "1", ss = "1";
  double n = 0;
  do {
    n += 2;
    const std::string d = Num(n * (n - 1));
    c = C(3, c, x2, m);
    c = C(4, c, d, m);
    c = functions::ChangeSign_Function(c);
    cs = C(1, cs, c, m);
    const std::string s = C(4, c, Num(n + 1), m);
    ss = C(1, ss, s, m);
  } while (!Stop(c, m));
  ss = C(3, ss, x, m);
  return C(4, ss, cs, m);
}

functions::type_Reduce90 Reduce(const std::string& num, double m) {
  const std::string h = C(4, functions::Get_Pi(m), "2", m);
  const std::string q = functions::Int_Function(C(4, num, h, m));
  std::string quadrant = C(4, q, "4", m);
  quadrant = functions::Int_Function(quadrant);
  quadrant = C(3, quadrant, "4", m);
  quadrant = C(2, q, quadrant, m);
  quadrant = C(1, quadrant, "1", m);
  if (engine::HasError(quadrant)) return {quadrant, ""};
  if (quadrant != "1" && quadrant != "2" && quadrant != "3" && quadrant != "4") return {"#NUM!", ""};
  std::string alpha;
  if ((quadrant == "1" || quadrant == "3") && !Eq(q, "0")) {
    alpha = C(3, C(2, h, C(4, num, q, m), m), functions::ChangeSign_Function(q), m);
  } else if ((quadrant == "2" || quadrant == "4") && !Eq(q, "-1")) {
    const std::string q1 = C(1, q, "1", m);
    alpha = C(3, C(2, h, C(4, num, q1, m), m), q1, m);
  } else if (Eq(q, "0")) {
    alpha = num;
  } else {
    alpha = functions::ChangeSign_Function(num);
  }
  if (engine::HasError(alpha)) return {alpha, ""};
  return {alpha, quadrant};
}

enum class F { Sin, Cos, Tan };

std::string Trig(F f, const std::string& num, double m) {
  const std::string eps = C(6, "10", Num(-m), m);
  if (num == "0") return f == F::Cos ? "1" : "0";
  const functions::type_Reduce90 r = Reduce(num, m);
  if (r.Quadrant.empty()) return r.Alpha;
  const std::string pi = functions::Get_Pi(m);
  const std::string h = C(4, pi, "2", m);
  const bool direct = Cmp(C(4, pi, "4", m), r.Alpha, true, true);
  std::string v;
  bool negate = false;
  switch (f) {
    case F::Sin:
      v = direct ? SinSeries(r.Alpha, m) : CosSeries(C(2, h, r.Alpha, m), m);
      negate = r.Quadrant == "3" || r.Quadrant == "4";
      break;
    case F::Cos:
      v = direct ? CosSeries(r.Alpha, m) : SinSeries(C(2, h, r.Alpha, m), m);
      negate = r.Quadrant == "2" || r.Quadrant == "3";
      break;
    case F::Tan:
      v = direct ? TanSeries(r.Alpha, m) : C(4, "1", TanSeries(C(2, h, r.Alpha, m), m), m);
      negate = r.Quadrant == "2" || r.Quadrant == "4";
      break;
  }
  if (negate) v = functions::Neg_Function(v);
  if (engine::HasError(v)) return v;
  if (Cmp(eps, functions::Abs_Function(v), false, true)) v = "0";
  return v;
}

std::string ATanSeries(const std::string& x, double m) {
  if (x == "0") return "0";
  std::string term = x, sum = x;
  const std::string x2 = C(3, x, x, m);
  double n = 1;
  do {
    n += 2;
    term = C(3, term, x2, m);
    term = functions::ChangeSign_Function(term);
    const std::string t = C(4, term, Num(n), m);
    sum = C(1, sum, t, m);
  } while (!Stop(term, m));
  return sum;
}

std::string ATan(const std::string& num, double m) {
  if (engine::HasError(num)) return num;
  const std::string pi = functions::Get_Pi(m);
  const std::string x = Cmp("0", num, false, true) ? functions::ChangeSign_Function(num) : num;
  const std::string mag = functions::Abs_Function(num);
  const bool over = Cmp(mag, "1", false, true);
  const std::string y = over ? C(4, "1", x, m) : x;
  std::string point4 = "0";
  point4 += engine::GetDecimalSeparator();
  point4 += '4';
  const bool big = Cmp(functions::Abs_Function(y), point4, false, true);
  const std::string w = big ? C(4, C(2, y, "1", m), C(1, y, "1", m), m) : y;
  std::string v = ATanSeries(w, m);
  if (big) v = C(1, v, C(4, pi, "4", m), m);
  if (over) v = C(2, C(4, pi, "2", m), v, m);
  if (Cmp("0", num, false, true)) v = functions::ChangeSign_Function(v);
  return v;
}

std::string CoRoot(const std::string& num, double m) {
  return C(5, C(2, "1", C(3, num, num, m), m), "2", m);
}

std::string ASin(const std::string& num, double m) {
  const std::string pi = functions::Get_Pi(m);
  if (Cmp(functions::Abs_Function(num), "1", false, true)) return "#NUM!";
  std::string half = "0";
  half += engine::GetDecimalSeparator();
  half += '5';
  if (Eq(num, "1")) return C(3, pi, half, m);
  if (Eq(num, "-1")) return C(3, pi, "-" + half, m);
  return ATan(C(4, num, CoRoot(num, m), m), m);
}

// The zero and unit tests on the number itself, not on a double.
std::string ACos(const std::string& num, double m) {
  const std::string pi = functions::Get_Pi(m);
  if (Cmp(functions::Abs_Function(num), "1", false, true)) return "#NUM!";
  std::string half = "0";
  half += engine::GetDecimalSeparator();
  half += '5';
  if (Eq(num, "1")) return "0";
  if (Eq(num, "0")) return C(3, pi, half, m);
  if (Eq(num, "-1")) return pi;
  std::string a = ATan(C(4, CoRoot(num, m), num, m), m);
  if (Cmp("0", num, false, true)) a = C(1, a, pi, m);
  return a;
}

}  // namespace lit

// --- Random angles ------------------------------------------------------------------

class Angles {
 public:
  explicit Angles(unsigned seed) : rng_(seed) {}

  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  std::string Digits(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + Int(0, 9));
    return s;
  }

  // A decimal with up to `digits` significant digits around 10^exponent.
  std::string Decimal(int digits, int exponent) {
    std::string d = std::to_string(Int(1, 9)) + "." + Digits(Int(0, digits - 1)) + "1";
    d += "E" + std::string(exponent < 0 ? "-" : "+") + std::to_string(std::abs(exponent));
    return engine::ExpandExponent(d);
  }

  // Multiples and near-multiples of pi/4 and pi/2 (pi cut at some
  // precision), negative angles, huge and tiny ones, plain decimals.
  std::string Angle() {
    std::string a;
    switch (Int(0, 5)) {
      case 0:
      case 1: {
        const std::string pi = functions::Get_Pi(Int(3, 45));
        a = frame::CalculateText(engine::kMultiply, pi, std::to_string(Int(-12, 12)), 60);
        a = frame::CalculateText(engine::kDivide, a, Int(0, 1) ? "4" : "2", 60);
        if (Int(0, 1)) {
          const std::string nudge = Decimal(3, -Int(1, 40));
          a = frame::CalculateText(Int(0, 1) ? engine::kAdd : engine::kSubtract, a, nudge, 80);
        }
        break;
      }
      case 2:
        a = Decimal(Int(1, 30), Int(-3, 2));
        break;
      case 3:
        a = Int(0, 1) ? "1E+20" : (Int(0, 1) ? "1E-30" : Decimal(Int(1, 8), Int(-35, -1)));
        break;
      default:
        a = Decimal(Int(1, 25), Int(-1, 1));
        break;
    }
    if (Int(0, 2) == 0 && a[0] != '-') a.insert(0, "-");
    return a;
  }

  // Arguments of the inverse functions: +-1, +-0.4, 3/7 and their near
  // neighbours, values in (-1, 1), and larger ones.
  std::string Ratio() {
    static const std::vector<std::string> kPoints = {"1", "0.4", "0.42857142857142857142857142857142857", "0",
                                                     "2.5", "0.5", "3"};
    std::string a;
    if (Int(0, 2) == 0) {
      a = kPoints[Int(0, static_cast<int>(kPoints.size()) - 1)];
      if (Int(0, 1)) {
        a = frame::CalculateText(Int(0, 1) ? engine::kAdd : engine::kSubtract, a, Decimal(2, -Int(2, 30)), 60);
      }
    } else {
      a = Decimal(Int(1, 30), Int(-6, Int(0, 3) == 0 ? 4 : -1));
    }
    if (Int(0, 1) && a[0] != '-') a.insert(0, "-");
    return a;
  }

 private:
  std::mt19937 rng_;
};

// A quarter of the random cases under the sanitizers, which run the
// literal transcription many times slower.
int Cases(int n) {
#if defined(__SANITIZE_ADDRESS__)
  return n / 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return n / 4;
#endif
#endif
  return n;
}

// A call that fails (a comparison of a non-number) answers "failed".
std::string Fast(lit::F f, const std::string& num, double m) {
  const Value n = Value::Text(num);
  const Value md = Value::Number(m);
  try {
    switch (f) {
      case lit::F::Sin:
        return functions::Sin_Function(n, md);
      case lit::F::Cos:
        return functions::Cos_Function(n, md);
      default:
        return functions::Tan_Function(n, md);
    }
  } catch (const frame::CallFailed&) {
    return "failed";
  }
}
std::string Slow(lit::F f, const std::string& num, double m) {
  try {
    return lit::Trig(f, num, m);
  } catch (const lit::Failed&) {
    return "failed";
  }
}

TEST(Trig, ReductionAndSeriesMatchTheLiteralSteps) {
  Angles g(20261207);
  for (int i = 0; i < Cases(1500); ++i) {
    const std::string a = g.Angle();
    const double m = g.Int(1, 40);
    SCOPED_TRACE(a + " at maxSD " + std::to_string(m));
    const functions::type_Reduce90 fast = functions::Reduce_Angle(a, m);
    const functions::type_Reduce90 slow = lit::Reduce(a, m);
    ASSERT_EQ(fast.Alpha, slow.Alpha);
    ASSERT_EQ(fast.Quadrant, slow.Quadrant);
    if (slow.Quadrant.empty()) continue;
    // The series on the reduced angle and on its complement.
    const std::string x = slow.Alpha;
    ASSERT_EQ(functions::Sin_Series(x, m), lit::SinSeries(x, m));
    ASSERT_EQ(functions::Cos_Series(x, m), lit::CosSeries(x, m));
    ASSERT_EQ(functions::Tan_Series(x, m), lit::TanSeries(x, m));
    ASSERT_EQ(functions::Get_Magnitude(x), lit::Magnitude(x));
  }
}

TEST(Trig, FunctionsMatchTheLiteralSteps) {
  Angles g(7);
  for (int i = 0; i < Cases(1500); ++i) {
    const std::string a = g.Angle();
    // An angle beyond the precision reduces to a meaningless large Alpha
    // whose series runs long; the reduction test covers those.
    const double m = a.find("E+20") != std::string::npos ? g.Int(22, 40) : g.Int(0, 40);
    for (lit::F f : {lit::F::Sin, lit::F::Cos, lit::F::Tan}) {
      SCOPED_TRACE(a + " at maxSD " + std::to_string(m) + " function " + std::to_string(static_cast<int>(f)));
      ASSERT_EQ(Fast(f, a, m), Slow(f, a, m));
    }
  }
}

TEST(Trig, ArctangentMatchesTheLiteralSteps) {
  Angles g(11);
  for (int i = 0; i < Cases(2000); ++i) {
    const std::string a = g.Ratio();
    const double m = g.Int(1, 40);
    SCOPED_TRACE(a + " at maxSD " + std::to_string(m));
    ASSERT_EQ(functions::ATan_Function(Value::Text(a), Value::Number(m)), lit::ATan(a, m));
  }
}

TEST(Trig, ArcsineAndArccosineMatchTheLiteralSteps) {
  Angles g(13);
  for (int i = 0; i < Cases(600); ++i) {
    const std::string a = g.Ratio();
    const double m = g.Int(1, 40);
    SCOPED_TRACE(a + " at maxSD " + std::to_string(m));
    ASSERT_EQ(functions::ASin_Function(Value::Text(a), Value::Number(m)), lit::ASin(a, m));
    ASSERT_EQ(functions::ACos_Function(Value::Text(a), Value::Number(m)), lit::ACos(a, m));
  }
}

TEST(Trig, ArccosineTestsOneZeroAndMinusOneExactly) {
  // Both convert to a double the written tests took for 1 and 0.
  const std::string nearOne = functions::ACos_Function(Value::Text("0.99999999999999999999"), Value::Number(40));
  EXPECT_NE(nearOne, "0");
  EXPECT_EQ(nearOne.substr(0, 14), "0.000000000141");  // sqrt(2E-20)
  const std::string tiny = functions::ACos_Function(Value::Text("1E-400"), Value::Number(1000));
  const std::string halfPi = frame::CalculateText(engine::kMultiply, functions::Get_Pi(1000), "0.5", 1000);
  EXPECT_NE(tiny, halfPi);
  EXPECT_EQ(frame::CalculateText(engine::kSubtract, halfPi, tiny, 1000).substr(0, 8), "0.000000");
  // The exact values stay as written.
  EXPECT_EQ(functions::ACos_Function(Value::Text("1"), Value::Number(20)), "0");
  EXPECT_EQ(functions::ACos_Function(Value::Text("-1"), Value::Number(20)), functions::Get_Pi(20));
  EXPECT_EQ(functions::ASin_Function(Value::Text("0.99999999999999999999"), Value::Number(40)).substr(0, 6), "1.5707");
}

TEST(Trig, LongerPrecisionsMatchTheLiteralSteps) {
  // A few angles at a few hundred digits: the long products and divisions.
  Angles g(3);
  for (int i = 0; i < Cases(12); ++i) {
    const std::string a = g.Angle();
    const std::string r = g.Ratio();
    const double m = g.Int(150, 400);
    SCOPED_TRACE(a + " / " + r + " at maxSD " + std::to_string(m));
    ASSERT_EQ(Fast(lit::F::Sin, a, m), lit::Trig(lit::F::Sin, a, m));
    ASSERT_EQ(Fast(lit::F::Tan, a, m), lit::Trig(lit::F::Tan, a, m));
    ASSERT_EQ(functions::ATan_Function(Value::Text(r), Value::Number(m)), lit::ATan(r, m));
  }
}

TEST(Trig, SignWorkersOnStepsAgreeWithTheTextWorkers) {
  // Up to 32,769 digits, where the sign workers' own composition rounds.
  Angles g(5);
  for (int length : {5, 32766, 32768, 32769}) {
    const std::string t = "0." + g.Digits(length - 1) + "7";
    for (const std::string& s : {t, "-" + t}) {
      const frame::StepNumber n = frame::StepNumber::Read(s);
      EXPECT_EQ(functions::detail::ChangeSignStep(n).Text(), functions::ChangeSign_Function(s));
      EXPECT_EQ(functions::detail::NegStep(n).Text(), functions::Neg_Function(s));
      EXPECT_EQ(functions::detail::AbsStep(n).Text(), functions::Abs_Function(s));
    }
  }
  for (const char* s : {"-0.5", "0.5", "-3", "12.75", "-12.75", "0", "-0.0001"}) {
    EXPECT_EQ(functions::detail::IntStep(frame::StepNumber::Read(s)).Text(), functions::Int_Function(s)) << s;
  }
}

// --- What the written steps did not settle ---------------------------------------------

TEST(Trig, ZeroWrittenOtherwiseEndsEverySeries) {
  // The magnitude of a zero term is 0, which never passes the stopping
  // test: a zero term must end the loop.
  for (const char* zero : {"0.0", "-0", "$0", "0E+5"}) {
    EXPECT_EQ(functions::Sin_Function(Value::Text(zero), Value::Number(30)), "0") << zero;
    EXPECT_EQ(functions::Cos_Function(Value::Text(zero), Value::Number(30)), "1") << zero;
    EXPECT_EQ(functions::Tan_Function(Value::Text(zero), Value::Number(30)), "0") << zero;
    EXPECT_EQ(functions::ATan_Function(Value::Text(zero), Value::Number(30)), "0") << zero;
  }
}

TEST(Trig, CosineAndTangentSeriesTestZeroExactly) {
  // 1E-400 converts to the double 0; it is not zero.
  EXPECT_EQ(functions::Cos_Series("1E-400", 1000), "0." + std::string(800, '9') + "5");
  const std::string t = functions::Tan_Series("1E-400", 1000);
  EXPECT_EQ(t.substr(0, 6), "0.0000");
  EXPECT_EQ(functions::Get_Magnitude(t), "-400");
}

TEST(Trig, TangentAtAnOddMultipleOfTheCutHalfPiIsAnError) {
  for (double m : {5.0, 20.0, 100.0}) {
    const std::string h = frame::CalculateText(engine::kDivide, functions::Get_Pi(m), "2", m);
    EXPECT_EQ(functions::Tan_Function(Value::Text("-" + h), Value::Number(m)), "#DIV/0!") << m;
  }
}

TEST(Trig, NonNumbersFailTheCallAndErrorTextsPassThrough) {
  for (const Value& v : {Value::Text("abc"), Value::Error(HostError::NA), Value::Text("1E5"), Value::Bool(true)}) {
    EXPECT_TRUE(functions::dcmSIN(v).isError());
    EXPECT_TRUE(functions::dcmTAN(v).isError());
    EXPECT_TRUE(functions::dcmATAN(v).isError());
    EXPECT_TRUE(functions::dcmACOS(v).isError());
  }
  EXPECT_EQ(functions::dcmCOS(Value::Text("#DIV/0!")).text(), "#DIV/0!");
  EXPECT_EQ(functions::dcmASIN(Value::Text("#NUM!")).text(), "#NUM!");
}

TEST(Trig, AnAngleTooLargeForThePrecisionIsNum) {
  // floor(1E+20 / (pi/2)) at 5 digits has lost its units: no quadrant.
  EXPECT_EQ(functions::Sin_Function(Value::Text("1E+20"), Value::Number(5)), "#NUM!");
  EXPECT_EQ(functions::Reduce_Angle("1E+20", 5).Quadrant, "");
}

TEST(Trig, ResultsBelowTheThresholdAreZero) {
  EXPECT_EQ(functions::Sin_Function(Value::Text("1E-30"), Value::Number(20)), "0");
  EXPECT_EQ(functions::Sin_Function(Value::Text(functions::Get_Pi(20)), Value::Number(20)), "0");
  EXPECT_NE(functions::Sin_Function(Value::Text("1E-30"), Value::Number(40)), "0");
}


// --- Against MPFR -------------------------------------------------------------------
// The written steps keep no guard digits and take pi cut to maxSD digits, so
// only the last few digits may differ from the true values: within 10^(4 -
// maxSD), times the angle's size for the reduction's cut pi.

double Log10Error(const std::string& ours, void (*truth)(mpfr_t, const mpfr_t), const std::string& x) {
  mpfr_t a, t, v;
  mpfr_inits2(12000, a, t, v, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_str(a, x.c_str(), 10, MPFR_RNDN);
  truth(t, a);
  mpfr_set_str(v, ours.c_str(), 10, MPFR_RNDN);
  mpfr_sub(v, v, t, MPFR_RNDN);
  mpfr_abs(v, v, MPFR_RNDN);
  double result = -1e9;
  if (!mpfr_zero_p(v)) {
    mpfr_log10(v, v, MPFR_RNDN);
    result = mpfr_get_d(v, MPFR_RNDN);
  }
  mpfr_clears(a, t, v, static_cast<mpfr_ptr>(nullptr));
  return result;
}

void Sin(mpfr_t r, const mpfr_t a) { mpfr_sin(r, a, MPFR_RNDN); }
void Cos(mpfr_t r, const mpfr_t a) { mpfr_cos(r, a, MPFR_RNDN); }
void Tan(mpfr_t r, const mpfr_t a) { mpfr_tan(r, a, MPFR_RNDN); }
void ATan(mpfr_t r, const mpfr_t a) { mpfr_atan(r, a, MPFR_RNDN); }
void ASin(mpfr_t r, const mpfr_t a) { mpfr_asin(r, a, MPFR_RNDN); }
void ACos(mpfr_t r, const mpfr_t a) { mpfr_acos(r, a, MPFR_RNDN); }

TEST(Trig, AgreesWithMpfrButForTheLastDigits) {
  // 1,000 digits only outside the sanitizers.
  const std::vector<double> sizes = Cases(4) == 4 ? std::vector<double>{50, 300, 1000} : std::vector<double>{50, 300};
  for (double m : sizes) {
    const Value md = Value::Number(m);
    for (const char* x : {"1", "0.5", "-6", "3", "100", "0.001", "1.5", "-0.785"}) {
      const double allowed = 4 - m + std::max(0.0, std::log10(std::fabs(std::stod(x))));
      SCOPED_TRACE(std::string(x) + " at maxSD " + std::to_string(m));
      EXPECT_LE(Log10Error(functions::Sin_Function(Value::Text(x), md), Sin, x), allowed);
      EXPECT_LE(Log10Error(functions::Cos_Function(Value::Text(x), md), Cos, x), allowed);
      EXPECT_LE(Log10Error(functions::Tan_Function(Value::Text(x), md), Tan, x), allowed + 1);
    }
    for (const char* x : {"0.5", "2", "-7", "0.3", "0.42857", "-0.9", "0.1"}) {
      SCOPED_TRACE(std::string(x) + " at maxSD " + std::to_string(m));
      EXPECT_LE(Log10Error(functions::ATan_Function(Value::Text(x), md), ATan, x), 4 - m);
      if (std::fabs(std::stod(x)) < 1) {
        EXPECT_LE(Log10Error(functions::ASin_Function(Value::Text(x), md), ASin, x), 4 - m);
        EXPECT_LE(Log10Error(functions::ACos_Function(Value::Text(x), md), ACos, x), 4 - m);
      }
    }
  }
}

}  // namespace
}  // namespace decimora
