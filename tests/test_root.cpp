// Roots: the iterations against a literal transcription on texts (every
// step a dispatcher call, every comparison the comparison of number texts,
// every finishing test on the texts as written), on thousands of random
// cases; the starting value; the cases the iterations must end on; and
// MPFR's true roots as a check that the digits are right to within the last
// few.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <utility>
#include <string>

#include "engine/number_text.h"
#include "engine/operands.h"
#include "engine/round.h"
#include "frame/calculate.h"
#include "frame/root.h"
#include "platform/convert.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;
using frame::CalculateText;

namespace {

using RootTest = decimora::testing::DefaultLocale;

// ---------------------------------------------------------------------------
// The literal transcription. Speed is no concern here.
// ---------------------------------------------------------------------------
namespace literal {

bool Eq(const std::string& a, const std::string& b) {
  const Value r = frame::CompareNumbers(a, b, true, false);
  return r.isBool() && r.boolean();
}
bool Ge(const std::string& a, const std::string& b) {
  const Value r = frame::CompareNumbers(a, b, true, true);
  return r.isBool() && r.boolean();
}

// Where the first significant digit stands (digits before the separator, or
// minus the zeros after "0."); nullopt for zero.
std::optional<long> Lead(const std::string& s) {
  const std::string m = s.front() == '-' ? s.substr(1) : s;
  const std::size_t sep = m.find('.');
  const std::string ip = sep == std::string::npos ? m : m.substr(0, sep);
  if (ip != "0") return static_cast<long>(ip.size());
  if (sep == std::string::npos) return std::nullopt;
  const std::size_t z = m.find_first_not_of('0', sep + 1);
  if (z == std::string::npos) return std::nullopt;
  return -static_cast<long>(z - sep - 1);
}
bool SameMagnitude(const std::string& x, const std::string& t) {
  const auto a = Lead(x);
  const auto b = Lead(t);
  return a && b && *a == *b;
}

// The first n characters; integer digits cut off become zeros.
std::string Cut(const std::string& t, std::size_t n) {
  if (n >= t.size()) return t;
  std::string out = t.substr(0, n);
  const std::size_t sep = t.find('.');
  const std::size_t ie = sep == std::string::npos ? t.size() : sep;
  if (n < ie) out.append(ie - n, '0');
  return out;
}

std::string RoundSigned(const std::string& s, double m) {
  if (s.front() == '-') return "-" + RoundToSignificant(s.substr(1), m);
  return RoundToSignificant(s, m);
}

bool Digit(char c) { return c >= '0' && c <= '9'; }

std::string Start(const std::string& A, const std::string& N) {
  errno = 0;
  const double a = std::strtod(A.c_str(), nullptr);
  const bool aOk = errno == 0 && std::isnormal(a);
  const double n = std::strtod(N.c_str(), nullptr);
  if (aOk) {
    const double v = std::pow(a, 1 / n);
    if (std::isnormal(v)) return ExpandExponent(*platform::FormatHostNumber(v));
    if (a < 0) {
      const double w = std::pow(-a, 1 / n);
      if (std::isnormal(w)) return ExpandExponent("-" + *platform::FormatHostNumber(w));
    }
  }
  // Beyond the double: the estimate from the decimal exponent.
  return frame::RootStartValue(A, N);
}

std::string Sqrt(const std::string& A, std::string x, double M) {
  std::string t;
  double i = 0, st = 0;
  std::string d = "0", dp = "0";
  const auto m0 = static_cast<std::size_t>(std::nearbyint(M));
  for (int k = 0; k < frame::kMaxRootSteps; ++k) {
    ++i;
    if (!t.empty()) {
      d = AbsText(CalculateText(kSubtract, x, t, M + 1));
      if (HasError(d)) return d;
    }
    if (i > 3 && Ge(d, dp)) {
      ++st;
      if (st == 3) {
        if (SameMagnitude(x, t) && x.size() != t.size()) {
          std::string& longer = x.size() > t.size() ? x : t;
          const std::size_t L = std::min(x.size(), t.size());
          const char next = longer[L];
          longer.resize(L);
          if (Digit(next) && next >= '5' && Digit(longer[L - 1])) {
            if (IncrementDigitsAt(longer, L - 1, '.')) longer.insert(longer.front() == '-' ? 1 : 0, "1");
          }
        }
        if (Eq(x, t)) return t;
      } else if (st >= 4) {
        return "#NUM!";
      }
    }
    dp = d;
    t = CalculateText(kDivide, A, x, M + 1);
    if (HasError(t)) return t;
    x = CalculateText(kAdd, t, x, M + 1);
    if (HasError(x)) return x;
    x = CalculateText(kDivide, x, "2", M + 1);
    if (HasError(x)) return x;
    // Characters counted from the first significant digit.
    std::size_t lead = 0;
    if (x.size() > 2 && x[0] == '0' && x[1] == '.') lead = x.find_first_not_of('0', 2);
    const double lx = static_cast<double>(x.size() - lead);
    const double lt = static_cast<double>(t.size() - lead);
    const bool apart = (x.size() == t.size() + 1 || t.size() == x.size() + 1) && std::max(lx, lt) > M;
    if ((lx > M || x.size() >= 32767 || apart) && SameMagnitude(x, t)) {
      if (x.substr(0, t.size()) == t) return t;
      if (x.substr(0, x.size() - 1) == t.substr(0, t.size() - 1)) return Cut(t, t.size() - 1);
      if (x.substr(0, lead + m0) == t.substr(0, lead + m0)) return Cut(t, lead + m0);
      auto adjust = [](std::string& longer, const std::string& shorter) {
        const std::size_t n = shorter.size();
        if (longer.size() != n + 1 || longer.substr(0, n - 1) != shorter.substr(0, n - 1)) return false;
        const char a = longer[n - 1], b = longer[n], c = shorter[n - 1];
        if (b < '5' && a == c) {
          longer.resize(n);
        } else if (b >= '5' && c == a + 1) {
          longer = longer.substr(0, n - 1) + static_cast<char>(a + 1);
        }
        return true;
      };
      if (!adjust(x, t)) adjust(t, x);
    }
    if (Eq(x, t)) return t;
  }
  return "#NUM!";
}

std::string General(const std::string& A, const std::string& N, std::string x, double M, double D) {
  const double P = D + M;
  const std::string N1 = CalculateText(kSubtract, N, "1", P);
  std::string ring[10];
  for (auto& r : ring) r = "x";
  int slot = 0, repeats = 0;
  const Value none;
  for (int k = 0; k < frame::kMaxRootSteps; ++k) {
    const std::string t = x;
    const std::string p = frame::Calculate(kPower, Value::Text(x), Value::Text(N1), none, none, none, none,
                                           Value::Number(P), true, false, Value::Number(D));
    if (HasError(p)) return p;
    const std::string q = CalculateText(kMultiply, N1, x, P);
    const std::string r = CalculateText(kDivide, A, p, P);
    const std::string s = CalculateText(kAdd, q, r, P);
    x = CalculateText(kDivide, s, N, P);
    for (const std::string* e : {&q, &r, &s, static_cast<const std::string*>(&x)}) {
      if (HasError(*e)) return *e;
    }
    if (Eq(x, "0")) x = std::string(frame::kRootRestart);
    if (x.size() == t.size() + 1 && static_cast<double>(x.size()) > M && SameMagnitude(x, t)) {
      if (x.substr(0, t.size()) == t) return t;
      if (x.substr(0, x.size() - 1) == t.substr(0, t.size() - 1)) return Cut(t, t.size() - 1);
    }
    const std::string rx = RoundSigned(x, M - 1);
    const std::string rt = RoundSigned(t, M - 1);
    for (const std::string& e : ring) {
      if (e == rx) ++repeats;
    }
    if (repeats >= 10) return "#NUM!";
    ring[slot] = rx;
    slot = (slot + 1) % 10;
    if (Eq(rx, rt)) return t;
  }
  return "#NUM!";
}

std::string Root(std::string A, std::string N, double M) {
  A = CleanUp(A, true, true).NumClean;
  N = CleanUp(N, true, true).NumClean;
  const double D = static_cast<double>(A.size() + N.size()) - (A.find('.') != std::string::npos) -
                   (N.find('.') != std::string::npos);
  if (N == "0") return "#DIV/0!";
  if (A == "0") return "0";
  if (A == "1") return "1";
  if (N == "1") return A;
  if (!IsNonNegative(A) && (N.find('.') != std::string::npos || (N.back() - '0') % 2 == 0)) return "#NUM!";
  if (N.front() == '-') {
    N.erase(0, 1);
    A = ExpandExponent(CalculateText(kDivide, "1", A, M));
  }
  const std::string x = Start(A, N);
  return N == "2" ? Sqrt(A, x, M) : General(A, N, x, M, D);
}

}  // namespace literal

std::string FastRoot(const std::string& A, const std::string& N, double M) {
  return frame::Root_Function(A, N, M, false);
}

std::mt19937_64 rng(20261207);
std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(rng() % n); }

// A random number text: 1 to `maxDigits` digits, any magnitude from tiny
// to large, now and then a perfect power, nines, a power of ten.
std::string Radicand(std::size_t maxDigits) {
  const std::size_t n = 1 + Pick(maxDigits);
  std::string d(n, '0');
  switch (Pick(6)) {
    case 0:
      d.assign(n, '9');
      break;
    case 1:
      d[0] = '1';
      break;
    case 2: {
      const unsigned long b = 2 + Pick(500);
      return std::to_string(b * b);
    }
    default:
      for (char& c : d) c = static_cast<char>('0' + Pick(10));
      d[0] = static_cast<char>('1' + Pick(9));
  }
  const long point = static_cast<long>(Pick(n + 8)) - 4;  // digits before the separator
  std::string out;
  if (point <= 0) {
    out = "0." + std::string(static_cast<std::size_t>(-point), '0') + d;
  } else if (static_cast<std::size_t>(point) >= n) {
    out = d + std::string(static_cast<std::size_t>(point) - n, '0');
  } else {
    out = d.substr(0, static_cast<std::size_t>(point)) + "." + d.substr(static_cast<std::size_t>(point));
  }
  return out;
}

TEST_F(RootTest, SquareRootsMatchTheLiteralIteration) {
  for (int i = 0; i < 3000; ++i) {
    const std::string A = Radicand(i % 10 == 0 ? 60 : 20);
    const double M = static_cast<double>(1 + Pick(i % 7 == 0 ? 120 : 40)) + (Pick(8) == 0 ? 0.5 : 0);
    const std::string want = literal::Root(A, "2", M);
    ASSERT_EQ(FastRoot(A, "2", M), want) << "sqrt(" << A << ") M=" << M;
  }
}

TEST_F(RootTest, OtherDegreesMatchTheLiteralIteration) {
  static const char* degrees[] = {"3", "4", "5", "7", "10", "-2", "-3", "1.5", "0.5", "2.5", "-0.5", "12", "33"};
  for (int i = 0; i < 1500; ++i) {
    std::string A = Radicand(15);
    const std::string N = degrees[Pick(std::size(degrees))];
    if (Pick(4) == 0 && N.find('.') == std::string::npos && (N.back() - '0') % 2 == 1) A = "-" + A;
    const double M = static_cast<double>(1 + Pick(30));
    const std::string want = literal::Root(A, N, M);
    ASSERT_EQ(FastRoot(A, N, M), want) << "root(" << A << ", " << N << ") M=" << M;
  }
}

// Magnitudes a double cannot hold: the start comes from the decimal
// exponent, and the answer is the true root.
TEST_F(RootTest, MagnitudesBeyondTheDouble) {
  EXPECT_EQ(frame::RootStartValue("2", "2"), "1.4142135623731");  // 15 significant digits, as a host writes
  EXPECT_EQ(frame::RootStartValue("-8", "3"), "-2");
  const std::string big = "1" + std::string(400, '0');
  const std::string tiny = "0." + std::string(399, '0') + "1";
  EXPECT_EQ(frame::RootStartValue(big, "2"), "1" + std::string(200, '0'));
  EXPECT_EQ(FastRoot(big, "2", 101), "1" + std::string(200, '0'));
  EXPECT_EQ(FastRoot(tiny, "2", 101), "0." + std::string(199, '0') + "1");
  EXPECT_EQ(FastRoot("4" + std::string(308, '0'), "2", 101), "2" + std::string(154, '0'));
  EXPECT_EQ(FastRoot("-" + big, "5", 30), "-1" + std::string(80, '0'));
  for (int i = 0; i < 60; ++i) {
    std::string A = Radicand(25);
    A = Pick(2) == 0 ? A + std::string(300 + Pick(200), '0') : "0." + std::string(300 + Pick(200), '0') + A;
    A = CleanUp(A, true, true).NumClean;
    const char* N = Pick(2) == 0 ? "2" : "3";
    ASSERT_EQ(FastRoot(A, N, 40), literal::Root(A, N, 40)) << A << " " << N;
  }
}

// Integer iterates longer than the precision: a finishing cut keeps the
// root's magnitude (it used to drop integer digits).
TEST_F(RootTest, FinishingCutsKeepTheMagnitude) {
  for (const char* A : {"2E+300", "3E+250", "7E+100"}) {
    const std::string r = FastRoot(ExpandExponent(A), "2", 101);
    const double want = std::sqrt(std::strtod(A, nullptr));
    EXPECT_NEAR(std::strtod(r.c_str(), nullptr) / want, 1, 1e-12) << A << " " << r;
  }
}

// At the largest precisions every iterate is cut to a cell's length, never
// longer than M: the square root still ends (it used to stall into #NUM!).
TEST_F(RootTest, LargestPrecisionsEnd) {
  const std::pair<const char*, double> cases[] = {{"2", 32768}, {"0.3", 32767}, {"123456789.5", 32766}};
  for (const auto& [A, M] : cases) {
    const std::string r = FastRoot(A, "2", M);
    EXPECT_GE(r.size(), 32766u) << A << " M=" << M;
    EXPECT_EQ(r, literal::Root(A, "2", M)) << A << " M=" << M;
  }
}

// log10 of the relative distance of `got` from the true root of degree n of
// A (MPFR, 4,000 bits more than needed).
double Log10RelativeError(const std::string& got, const std::string& A, long n) {
  mpfr_t a, r, g;
  const mpfr_prec_t bits = 4000 + static_cast<mpfr_prec_t>(3.33 * static_cast<double>(got.size() + A.size()));
  mpfr_inits2(bits, a, r, g, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_str(a, A.c_str(), 10, MPFR_RNDN);
  if (n < 0) {
    mpfr_ui_div(a, 1, a, MPFR_RNDN);
    n = -n;
  }
  const bool negative = mpfr_sgn(a) < 0;
  mpfr_abs(a, a, MPFR_RNDN);
  mpfr_rootn_ui(r, a, static_cast<unsigned long>(n), MPFR_RNDN);
  if (negative) mpfr_neg(r, r, MPFR_RNDN);
  mpfr_set_str(g, got.c_str(), 10, MPFR_RNDN);
  mpfr_sub(g, g, r, MPFR_RNDN);
  mpfr_div(g, g, r, MPFR_RNDN);
  mpfr_abs(g, g, MPFR_RNDN);
  double out = -1e9;
  if (mpfr_sgn(g) != 0) {
    mpfr_log10(g, g, MPFR_RNDN);
    out = mpfr_get_d(g, MPFR_RNDN);
  }
  mpfr_clears(a, r, g, static_cast<mpfr_ptr>(nullptr));
  return out;
}

// The digits are the iterations'; they must still be the true root's to
// within the last few (results carry up to maxSD + 2 significant digits; a
// finishing cut may keep a digit or two fewer). Roots below 1 keep as many
// as roots above it.
TEST_F(RootTest, AgreeWithTheTrueRoot) {
  for (int i = 0; i < 400; ++i) {
    std::string A = Radicand(30);
    static const long degrees[] = {2, 2, 3, 5, 7, -2, -3, 12};
    const long n = degrees[Pick(std::size(degrees))];
    if (n % 2 != 0 && Pick(3) == 0) A = "-" + A;
    const double maxSD = static_cast<double>(5 + Pick(i % 20 == 0 ? 2000 : 120));
    const std::string got = CalculateText(kRoot, A, std::to_string(n), maxSD);
    ASSERT_FALSE(HasError(got)) << A << " " << n;
    EXPECT_LT(Log10RelativeError(got, A, n), 2 - maxSD) << "root(" << A << ", " << n << ") maxSD " << maxSD << " = "
                                                     << got;
  }
  const std::string s = CalculateText(kRoot, "2", "2", 32767);
  EXPECT_LT(Log10RelativeError(s, "2", 2), -32764.0);
  for (const char* tiny : {"2E-300", "2E-150", "3E-41"}) {
    const std::string A = ExpandExponent(tiny);
    EXPECT_LT(Log10RelativeError(CalculateText(kRoot, A, "2", 100), A, 2), -98.0) << tiny;
  }
  // Exact iterates a character apart are not yet the root: 1E+10 - 1E-18.
  EXPECT_LT(Log10RelativeError(CalculateText(kRoot, "9999999999.999999999999999999", "2", 57),
                               "9999999999.999999999999999999", 2),
            -55.0);
}

// A fractional exponent num/den in lowest terms is the root of degree den
// raised to num, both at the power's precision D + M with the digit count
// D handed on: 2^2.5 is the square root of 2 raised to 5.
TEST_F(RootTest, FractionalPowersAreARootRaisedToAPower) {
  const Value none;
  for (double maxSD : {10.0, 30.0, 100.0}) {
    const double D = 3;  // "2" and "2.5" without the separator
    const double P = D + maxSD + 1;
    const std::string R = frame::Calculate(kRoot, Value::Text("2"), Value::Text("2"), none, none, none, none,
                                           Value::Number(P), true, true, Value::Number(D));
    const std::string R5 = frame::Calculate(kPower, Value::Text(R), Value::Text("5"), none, none, none, none,
                                            Value::Number(P), true, true, Value::Number(D));
    EXPECT_EQ(CalculateText(kPower, "2", "2.5", maxSD), CalculateText(kAdd, R5, "0", maxSD)) << maxSD;
  }
  EXPECT_EQ(CalculateText(kPower, "4", "0.5", 100), "2");
  EXPECT_EQ(CalculateText(kPower, "8", "-1.5", 30), CalculateText(kPower, "0.125", "1.5", 30));
}

TEST_F(RootTest, DoneInOneStepAndEdgeCases) {
  std::uint64_t before = frame::RootStepCount();
  EXPECT_EQ(FastRoot("8", "3", 101), "2");
  EXPECT_EQ(frame::RootStepCount() - before, 1u);
  EXPECT_EQ(FastRoot("-8", "3", 101), "-2");
  EXPECT_EQ(FastRoot("4", "-2", 101), FastRoot("0.25", "2", 101));
  EXPECT_EQ(FastRoot("-8", "2", 101), "#NUM!");
  EXPECT_EQ(FastRoot("-8", "1.5", 101), "#NUM!");
  EXPECT_EQ(FastRoot("5", "0", 101), "#DIV/0!");
  EXPECT_EQ(FastRoot("0", "3", 101), "0");
  EXPECT_EQ(FastRoot("1", "3", 101), "1");
  EXPECT_EQ(FastRoot("-12.50", "1", 101), "-12.5");
  EXPECT_EQ(FastRoot("-0", "2", 101), "0");
  EXPECT_EQ(FastRoot("abc", "2", 101), "#VALUE!");
  EXPECT_EQ(FastRoot("#DIV/0!", "2", 101), "#DIV/0!");
}

// A degree of more digits than the bound answers at once instead of raising
// to a power of hundreds of digits at every step.
TEST_F(RootTest, HugeDegreesAreRefused) {
  const std::string d100 = "1" + std::string(99, '0');
  EXPECT_NE(FastRoot("2", "3" + d100.substr(1), 30), "#NUM!");
  EXPECT_EQ(FastRoot("2", d100 + "0", 30), "#NUM!");
  EXPECT_EQ(FastRoot("2", "1" + std::string(30000, '0'), 30), "#NUM!");
  EXPECT_EQ(FastRoot("2", "0." + std::string(100, '0') + "1", 30), "#NUM!");
}

// With the input restriction, operands of 16,383 digits in all (separators
// not counted) are taken and 16,384 refused.
TEST_F(RootTest, RestrictedInputLengths) {
  const std::string a = "1." + std::string(16380, '0') + "1";  // 16,382 digits, and the degree "2"
  EXPECT_NE(frame::Root_Function(a, "2", 10, true), "#NUM!");
  EXPECT_EQ(frame::Root_Function(a + "1", "2", 10, true), "#NUM!");
  EXPECT_NE(frame::Root_Function(a + "1", "2", 10, false), "#NUM!");
}

}  // namespace
