#include "frame/root.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "engine/cell_limits.h"
#include "engine/decimal.h"
#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "engine/round.h"
#include "frame/calculate.h"
#include "frame/steps.h"
#include "platform/convert.h"

namespace decimora::frame {

using namespace engine;

namespace {

thread_local std::uint64_t t_steps = 0;

// ---------------------------------------------------------------------------
// The starting value
// ---------------------------------------------------------------------------

// v written as the host writes a double, with its exponent expanded.
std::string HostDigits(double v) {
  const std::optional<std::string> text = platform::FormatHostNumber(v);
  return text ? ExpandExponent(*text) : std::string("1");
}

// The estimate from the decimal exponent: |A|^(1/n) = 10^(log10|A| / n),
// written with 15 significant digits as a host number would be, signed like
// A. nullopt when the power of ten cannot be written out.
std::optional<std::string> EstimateFromExponent(std::string_view A, double n) {
  const bool negative = !A.empty() && A.front() == '-';
  const std::optional<double> l = Log10OfText(negative ? A.substr(1) : A);
  if (!l || !std::isfinite(n) || n == 0) return std::nullopt;
  const double e = *l / n;
  if (!std::isfinite(e) || std::fabs(e) > static_cast<double>(kMaxExpandedLength) / 2) return std::nullopt;
  const double whole = std::floor(e);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::pow(10.0, e - whole));  // d.dddddddddddddde+0x
  std::string digits;
  digits.push_back(buf[0]);
  digits.append(buf + 2, 14);
  const std::int64_t exponent = static_cast<std::int64_t>(whole) + std::atoi(buf + 17);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out = negative ? "-" : "";
  const char sep = GetDecimalSeparator();
  if (exponent >= 0) {
    const auto intDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, intDigits);
      out.push_back(sep);
      out += digits.substr(intDigits);
    }
  } else {
    out += "0";
    out.push_back(sep);
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  }
  return out;
}

// ---------------------------------------------------------------------------
// Values and texts the iterations compare
// ---------------------------------------------------------------------------

StepNumber Abs(StepNumber n) {
  if (n.IsError()) return n;
  n.value.negative = false;
  if (!n.cut.empty() && n.cut.front() == '-') n.cut.erase(0, 1);
  return n;
}

// "Equal" and "at least" of the comparison of number texts: exact on the
// values, except that digits past the 32,767th significant one are not told
// apart (the comparison's own rule, taken from it for such long values).
bool Equal(const StepNumber& a, const StepNumber& b) {
  const auto limit = static_cast<std::size_t>(kMaxSignificantDigits);
  if (a.value.DigitCount() <= limit && b.value.DigitCount() <= limit) return Compare(a.value, b.value) == 0;
  const Value r = CompareNumbers(a.Text(), b.Text(), true, false);
  return r.isBool() && r.boolean();
}

bool AtLeast(const StepNumber& a, const StepNumber& b) {
  const auto limit = static_cast<std::size_t>(kMaxSignificantDigits);
  if (a.value.DigitCount() <= limit && b.value.DigitCount() <= limit) return Compare(a.value, b.value) >= 0;
  const Value r = CompareNumbers(a.Text(), b.Text(), true, true);
  return r.isBool() && r.boolean();
}

// The finishing tests read the iterates as texts: a text that begins with
// another, or agrees with it up to the last characters, stands for the same
// value only when both have the same magnitude (their first significant
// digits in the same place). "123" begins "1234.5", and "0" begins "0.5":
// such pairs are not taken for agreement.
bool SameMagnitude(const StepNumber& x, const StepNumber& t) {
  if (x.value.IsZero() || t.value.IsZero()) return false;
  auto lead = [](const Decimal& v) { return static_cast<std::int64_t>(v.DigitCount()) - v.frac; };
  return lead(x.value) == lead(t.value);
}

// The first n characters of a number text. A cut inside the integer part
// keeps the number's magnitude: the integer digits it drops become zeros.
std::string CutText(const std::string& text, std::size_t n) {
  if (n >= text.size()) return text;
  const std::size_t sepAt = text.find(GetDecimalSeparator());
  const std::size_t intEnd = sepAt == std::string::npos ? text.size() : sepAt;
  if (n >= intEnd) return text.substr(0, n);
  std::string out = text.substr(0, n);
  out.append(intEnd - n, '0');
  return out;
}

// RoundToSignificant of a signed text: the magnitude is rounded, the sign
// kept (the rounding reads digits only).
std::string RoundSigned(const std::string& text, double m) {
  if (!text.empty() && text.front() == '-') return "-" + RoundToSignificant(std::string_view(text).substr(1), m);
  return RoundToSignificant(text, m);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The characters before the first significant digit of a number text below
// 1 ("0.00" of 0.0012, with a "-" in front); 0 for a text of 1 or more.
std::size_t LeadingChars(const std::string& text) {
  const std::size_t sign = !text.empty() && text.front() == '-' ? 1 : 0;
  if (text.size() < sign + 2 || text[sign] != '0' || text[sign + 1] != GetDecimalSeparator()) return 0;
  const std::size_t first = text.find_first_not_of('0', sign + 2);
  return first == std::string::npos ? 0 : first;
}

// ---------------------------------------------------------------------------
// Square roots: x := (A/x + x)/2 at precision M + 1
// ---------------------------------------------------------------------------

// At the third stall the longer of x and t is brought to the length L of
// the shorter, rounded half up at its L-th character.
void EqualiseLengths(std::string& xs, std::string& ts) {
  std::string& longer = xs.size() > ts.size() ? xs : ts;
  const std::size_t L = std::min(xs.size(), ts.size());
  if (longer.size() == L || L == 0) return;
  const char next = longer[L];
  longer.resize(L);
  if (IsDigit(next) && next >= '5' && IsDigit(longer[L - 1])) {
    // A carry runs on through nines (a digit 9 becomes 0 and the one before
    // goes up), so the rounded text keeps its value's place.
    const bool negative = longer.front() == '-';
    if (IncrementDigitsAt(longer, L - 1, GetDecimalSeparator())) {
      longer.insert(negative ? 1 : 0, 1, '1');
    }
  }
}

std::string SquareRoot(const StepNumber& A, StepNumber x, double M) {
  const double P = M + 1;
  const StepNumber two(Decimal::Integer(2));
  StepNumber t;
  bool haveT = false;
  StepNumber delta;  // 0
  StepNumber previous;
  int stalls = 0;
  const auto m0 = static_cast<std::size_t>(SignificantLimit(M));
  for (int i = 1; i <= kMaxRootSteps; ++i) {
    ++t_steps;
    if (haveT) {
      delta = Abs(StepSubtract(x, t, P));
      if (delta.IsError()) return delta.error;
    }
    if (i > 3 && AtLeast(delta, previous)) {
      ++stalls;
      if (stalls == 3) {
        std::string xs = x.Text();
        std::string ts = t.Text();
        if (SameMagnitude(x, t)) EqualiseLengths(xs, ts);
        x = StepNumber::FromText(xs);
        t = StepNumber::FromText(ts);
        if (x.IsError() || t.IsError()) return "#VALUE!";
        if (Equal(x, t)) return ts;
      } else if (stalls >= 4) {
        return "#NUM!";
      }
    }
    previous = delta;

    t = StepDivide(A, x, P);
    if (t.IsError()) return t.error;
    x = StepAdd(t, x, P);
    if (x.IsError()) return x.error;
    x = StepDivide(x, two, P);
    if (x.IsError()) return x.error;
    haveT = true;

    std::string xs = x.Text();
    std::string ts = t.Text();
    const std::size_t lx = xs.size();
    const std::size_t lt = ts.size();
    // The tests below count characters from the first significant digit:
    // in a root below 1 the "0." and the zeros after it are the same in
    // both (same magnitude) and say nothing about agreement (counted, they
    // cut 2E-300's root to zeros, and any root below 1 to fewer digits than
    // the precision).
    const std::size_t lead = LeadingChars(xs);
    // A text the composer cut to a cell's length is as long as an iterate
    // can be: at the largest precisions (M of a cell's length or more) no
    // text is ever longer than M, so such a text counts as long enough to
    // try to end on (otherwise those square roots could only end by a
    // stall, as "#NUM!"). Two texts a character apart try to end only when
    // one is longer than M: two shorter ones are exact values that differ
    // within the precision (1E+10 - 1E-18 and its first quotient).
    const bool full = !x.cut.empty() || x.value.TextLength() + (x.value.negative ? 1 : 0) >=
                                            static_cast<std::int64_t>(kCellCharacters);
    const bool apart = (lx == lt + 1 || lt == lx + 1) && static_cast<double>(std::max(lx, lt) - lead) > M;
    if ((static_cast<double>(lx - lead) > M || full || apart) && SameMagnitude(x, t)) {
      if (lx >= lt && xs.compare(0, lt, ts) == 0) return ts;
      if (xs.compare(0, lx - 1, ts, 0, lt - 1) == 0 && lx == lt) return CutText(ts, lt - 1);
      if (xs.compare(0, lead + m0, ts, 0, lead + m0) == 0) return CutText(ts, lead + m0);
      // One text a character longer than the other and agreeing with it but
      // for the last two: when the longer one, rounded at the length of the
      // shorter, reads as the shorter, they agree.
      auto roundsTo = [](const std::string& longer, const std::string& shorter) {
        const std::size_t n = shorter.size();
        if (longer.size() != n + 1 || n == 0 || longer.compare(0, n - 1, shorter, 0, n - 1) != 0) return false;
        const char a = longer[n - 1];
        const char b = longer[n];
        const char c = shorter[n - 1];
        if (!IsDigit(a) || !IsDigit(b) || !IsDigit(c)) return false;
        return (b < '5' && a == c) || (b >= '5' && c == a + 1);
      };
      if (roundsTo(xs, ts)) return ts;
      if (roundsTo(ts, xs)) return xs;
    }
    if (Equal(x, t)) return ts;
  }
  return "#NUM!";
}

// ---------------------------------------------------------------------------
// Other degrees: x := ((N - 1) x + A / x^(N-1)) / N at precision D + M
// ---------------------------------------------------------------------------

std::string GeneralRoot(const StepNumber& A, const std::string& N, StepNumber x, double M, double D,
                        bool restrict_input_lengths) {
  const double P = D + M;
  const StepNumber n = StepNumber::FromText(N);
  const StepNumber N1 = StepSubtract(n, StepNumber(Decimal::Integer(1)), P);
  if (N1.IsError()) return N1.error;
  const std::string n1Text = N1.Text();
  const Value none;
  std::array<std::string, 10> ring;
  ring.fill("x");
  std::size_t slot = 0;
  int repeats = 0;
  for (int i = 1; i <= kMaxRootSteps; ++i) {
    ++t_steps;
    const StepNumber t = x;
    const StepNumber power = StepNumber::FromText(Calculate(kPower, Value::Text(x.Text()), Value::Text(n1Text), none,
                                                            none, none, none, Value::Number(P), true,
                                                            restrict_input_lengths, Value::Number(D)));
    if (power.IsError()) return power.error;
    const StepNumber q = StepMultiply(N1, x, P);
    if (q.IsError()) return q.error;
    const StepNumber r = StepDivide(A, power, P);
    if (r.IsError()) return r.error;
    const StepNumber s = StepAdd(q, r, P);
    if (s.IsError()) return s.error;
    x = StepDivide(s, n, P);
    if (x.IsError()) return x.error;
    if (x.value.IsZero()) x = StepNumber::FromText(kRootRestart);

    const std::string xs = x.Text();
    const std::string ts = t.Text();
    if (xs.size() == ts.size() + 1 && static_cast<double>(xs.size()) > M && SameMagnitude(x, t)) {
      if (xs.compare(0, ts.size(), ts) == 0) return ts;
      if (xs.compare(0, xs.size() - 1, ts, 0, ts.size() - 1) == 0) return CutText(ts, ts.size() - 1);
    }
    const std::string rx = RoundSigned(xs, M - 1);
    const std::string rt = RoundSigned(ts, M - 1);
    for (const std::string& entry : ring) {
      if (entry == rx && ++repeats >= 10) return "#NUM!";
    }
    ring[slot] = rx;
    slot = (slot + 1) % ring.size();
    const StepNumber rxn = StepNumber::FromText(rx);
    const StepNumber rtn = StepNumber::FromText(rt);
    if (rxn.IsError() || rtn.IsError()) return "#VALUE!";
    if (Equal(rxn, rtn)) return ts;
  }
  return "#NUM!";
}

}  // namespace

std::uint64_t RootStepCount() { return t_steps; }

std::string RootStartValue(std::string_view A, std::string_view N) {
  const std::optional<double> a = platform::TextToDouble(A);
  const std::optional<double> n = platform::TextToDouble(N);
  if (a && n && std::isnormal(*a)) {
    const double v = std::pow(*a, 1 / *n);
    if (std::isnormal(v)) return HostDigits(v);
    if (*a < 0) {
      const double w = std::pow(-*a, 1 / *n);
      if (std::isnormal(w)) return HostDigits(-w);
    }
  }
  // The double cannot hold A (or its root): the decimal exponent can.
  if (n) {
    if (std::optional<std::string> e = EstimateFromExponent(A, *n)) return *e;
  }
  return "1";
}

std::string Root_Function(std::string A, std::string N, double M, bool restrict_input_lengths, const Value& D) {
  // An operand that is not a number is "#VALUE!", as it is to every other
  // operation; error texts pass through.
  for (std::string* s : {&A, &N}) {
    if (IsErrorText(*s)) return *s;
    type_CleanUp c = CleanUp(*s, true, true);
    if (c.IsError) return "#VALUE!";
    *s = std::move(c.NumClean);
  }
  const char sep = GetDecimalSeparator();
  const bool nFraction = N.find(sep) != std::string::npos;
  const bool aFraction = A.find(sep) != std::string::npos;

  double digits = 0;
  if (D.isOmitted()) {
    digits = static_cast<double>(N.size() + A.size()) - (nFraction ? 1 : 0) - (aFraction ? 1 : 0);
  } else {
    const std::optional<double> d = platform::VariantToDouble(D);
    if (!d) return "#VALUE!";
    digits = *d;
  }
  if (restrict_input_lengths && ExceedsInputDigits(digits)) return "#NUM!";

  if (N == "0") return "#DIV/0!";
  if (A == "0") return "0";
  if (A == "1") return "1";
  if (N == "1") return A;
  if (!IsNonNegative(A)) {
    if (nFraction) return "#NUM!";
    if ((N.back() - '0') % 2 == 0) return "#NUM!";
  }
  if (N.front() == '-') {
    // A root of negative degree is the root of the reciprocal.
    N.erase(0, 1);
    A = ExpandExponent(CalculateText(kDivide, "1", A, M));
    if (HasError(A)) return A;
  }
  if (N.size() - (nFraction ? 1 : 0) > kMaxRootDegreeDigits) return "#NUM!";

  const StepNumber a = StepNumber::FromText(A);
  StepNumber x = StepNumber::FromText(RootStartValue(A, N));
  if (a.IsError()) return a.error;
  if (x.IsError()) x = StepNumber::FromText("1");
  if (N == "2") return SquareRoot(a, std::move(x), M);
  return GeneralRoot(a, N, std::move(x), M, digits, restrict_input_lengths);
}

}  // namespace decimora::frame
