#include "frame/power.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "engine/errors.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "frame/calculate.h"
#include "frame/restrictionator.h"
#include "platform/convert.h"

namespace decimora::frame {

using namespace engine;

namespace {

// A whole-number power whose integer part has this many digits or more can
// never fit a cell: the composer answers "#NUM!" for it.
constexpr double kOverflowDigits = 32768;

// Work bound of one power, in rough nanoseconds of this machine. The split
// search costs about (log E)^1.6 multiplications; an exponent of thousands
// of digits on a base that close to 1, at full precision, would run for
// hours. Such a request answers "#NUM!" once this much work is spent.
constexpr double kWorkBudget = 3e10;

struct Work {
  int depth = 0;
  double spent = 0;
};
thread_local Work t_work;

bool Charge(double cost) {
  t_work.spent += cost;
  return t_work.spent <= kWorkBudget;
}

using engine::HasError;

// One internal dispatcher operation: no format options, the internal-call
// flag set. A nested power does not re-apply restrict_input_lengths, which
// guards what the user typed, not the intermediates.
std::string Op(std::int16_t code, std::string_view a, std::string_view b, double maxSD) {
  const double n = static_cast<double>(a.size() + b.size());
  if (!Charge(2000 + 30 * n)) return "#NUM!";
  const Value none;
  return Calculate(code, Value::Text(std::string(a)), Value::Text(std::string(b)), none, none, none, none,
                   Value::Number(maxSD), true, false);
}

// Whole-number exponent arithmetic, exact. (At the dispatcher's precision
// M an exponent of more than about M digits would be rounded, and the split
// could leave a negative remainder that loses the power; below that length
// exact arithmetic gives the same splits.)
struct Split {
  std::string H, Q, R;
};

// The same search on machine integers, for exponents below 10^18.
struct SplitSmallResult {
  std::uint64_t H = 0, Q = 0, R = 0;
};

SplitSmallResult SearchSplitSmall(std::uint64_t e) {
  std::uint64_t best = e;
  std::uint64_t g = e;
  SplitSmallResult out;
  for (;;) {
    const std::uint64_t h = g / 2;
    if (h == 0) break;
    const std::uint64_t q = e / h;
    const std::uint64_t r = e - h * q;
    const std::uint64_t cost = q + h + r - 1 - (q > 0 ? 1 : 0);
    if (best <= cost) break;
    best = cost;
    out = {h, q, r};
    g = h;
  }
  return out;
}

Split SearchSplit(std::string_view eText) {
  if (eText.size() <= 18) {
    const SplitSmallResult s = SearchSplitSmall(std::stoull(std::string(eText)));
    return {std::to_string(s.H), std::to_string(s.Q), std::to_string(s.R)};
  }
  const Natural e = *Natural::FromDigits(eText);
  const double limbs = static_cast<double>(e.LimbCount());
  Natural best = e;
  Natural g = e;
  // Pass j halves g, so h = floor(e / 2^j); t = h * 2^j is kept alongside.
  // While e - t < h the quotient e / h is exactly 2^j, so a pass costs a few
  // linear operations instead of a division (the search runs about
  // log2(e) / 2 passes before it stops near the square root of e).
  Natural power = Natural(1);
  Natural t = e;
  Natural H, Q, R;
  for (;;) {
    std::uint32_t bit = 0;
    const Natural h = DivideSmall(g, 2, &bit);
    if (bit != 0) t = Subtract(t, power);
    power = MultiplySmall(power, 2);
    if (h.IsZero()) break;  // cannot happen for e > 3: the search stops near sqrt(e)
    Natural q;
    Natural r = Subtract(e, t);
    if (Compare(r, h) < 0) {
      Charge(300 + 20 * limbs);
      q = power;
    } else {
      Charge(300 + 20 * limbs + 2 * limbs * limbs);
      DivisionResult d = Divide(e, h);
      q = std::move(d.quotient);
      r = std::move(d.remainder);
    }
    Natural cost = Add(q, Add(h, r));
    const std::uint32_t less = (q.IsZero() ? 0 : 1) + 1;
    cost = Compare(cost, Natural(less)) >= 0 ? Subtract(cost, Natural(less)) : Natural();
    if (Compare(best, cost) <= 0) break;
    best = cost;
    H = h;
    Q = std::move(q);
    R = std::move(r);
    g = h;
  }
  return {H.ToDigits(), Q.ToDigits(), R.ToDigits()};
}

bool AtMost3(std::string_view e) { return !CompareDigitStrings(e, "3", false, true); }

// log10 of the magnitude of a plain decimal text (digits and at most one
// separator, no sign), for any size; nullopt for zero.
std::optional<double> Log10Of(std::string_view t) {
  const char sep = GetDecimalSeparator();
  const std::size_t sepAt = t.find(sep);
  const std::size_t s = sepAt == std::string_view::npos ? t.size() : sepAt;
  std::size_t f = 0;
  while (f < t.size() && (t[f] == '0' || t[f] == sep)) ++f;
  if (f >= t.size()) return std::nullopt;
  std::string lead;
  for (std::size_t i = f; i < t.size() && lead.size() < 17; ++i) {
    if (t[i] != sep) lead.push_back(t[i]);
  }
  const double mantissa = std::strtod(lead.c_str(), nullptr) / std::pow(10.0, static_cast<double>(lead.size() - 1));
  const double exponent = f < s ? static_cast<double>(s - f - 1) : -static_cast<double>(f - s);
  return exponent + std::log10(mantissa);
}

// The growth of |b|^j per unit of j: log10 |b|, as its sign and the log10 of
// its size (so that bases within 10^-400 of 1 are still told apart).
struct Growth {
  int sign = 0;  // 0: |b| is exactly 1
  double log10Size = 0;
};

// exponentLog10 is log10 of the exponent the growth will be used with: a
// base near 1 takes a dispatcher subtraction to measure, which is only worth
// it when the exponent could carry the power out of a cell.
Growth GrowthOf(std::string_view b, double exponentLog10) {
  const std::string mag = AbsText(b);
  Growth g;
  const std::optional<double> l = Log10Of(mag);
  if (!l) return {0, 0};  // zero (handled before)
  if (std::fabs(*l) > 0.25) {
    g.sign = *l > 0 ? 1 : -1;
    g.log10Size = std::log10(std::fabs(*l));
    return g;
  }
  // |log10 |b|| <= 0.31 here: below 10^5 no exponent reaches a cell's limit.
  if (exponentLog10 < 5) return g;
  // Near 1: log10(1 + d) from d = |b| - 1, exact enough at 20 digits.
  const std::string d = Op(2, mag, "1", 20);
  if (HasError(d)) return {0, 0};
  const std::optional<double> ld = Log10Of(AbsText(d));
  if (!ld) return g;
  g.sign = IsNonNegative(d) ? 1 : -1;
  if (*ld < -10) {
    g.log10Size = *ld - std::log10(std::log(10.0));
  } else {
    const double dv = std::strtod(d.c_str(), nullptr);  // |d| >= 1e-10 reads as a plain double
    g.log10Size = std::log10(std::fabs(std::log1p(dv) / std::log(10.0)));
  }
  return g;
}

// Each product is rounded to at least M + 1 significant digits, which moves
// log10 of a computed power b^j by less than j * 2 * 10^-M in all (cutting
// a tiny value to a cell's length only lowers it). So the computed power is
// certainly beyond a cell when e * (|log10 b| - 2 * 10^-M) reaches the
// limit; no decision is taken for bases that close to 1.
bool Certain(const Growth& g, double exponentLog10, double M) {
  if (g.sign == 0) return false;
  const double slack = std::log10(2.0) - M;  // log10 of 2 * 10^-M
  if (g.log10Size < slack + 0.5) return false;
  const double lower = g.log10Size + std::log10(1 - std::pow(10.0, slack - g.log10Size));
  return exponentLog10 + lower >= std::log10(kOverflowDigits + 1) + 1e-9;
}

// |b|^e has an integer part of kOverflowDigits digits or more: "#NUM!".
bool CertainOverflow(std::string_view b, std::string_view e, double M) {
  const double le = Log10Of(e).value_or(0);
  const Growth g = GrowthOf(b, le);
  return g.sign > 0 && Certain(g, le, M);
}


}  // namespace

namespace {

// ---------------------------------------------------------------------------
// The splitting on numbers instead of texts. Every product of the splitting
// is an internal dispatcher call; what such a call returns is fixed by the
// dispatcher's rules: the exact product, rounded half up to maxSD + 2
// significant digits (maxSD clamped to 0..32,767), written in normal form,
// "#NUM!" when its integer part does not fit a cell. Num carries that value
// between the steps as coefficient and fraction digits, so no text is read
// or written per product. Where the text would be cut to a cell's length,
// and where a base has more digits than the cleaning keeps, the step goes
// through the dispatcher itself (and keeps its text).
// ---------------------------------------------------------------------------

bool IsUnit(const Natural& a) { return a.LimbCount() == 1 && a.Limbs()[0] == 1; }

struct Num {
  std::string error;  // an error text, or empty
  bool negative = false;
  Natural coef;
  std::int64_t frac = 0;  // digits after the separator; none trailing zeros
  std::string raw;        // the dispatcher's own text, when a step took that way

  bool IsError() const { return !error.empty(); }
  bool IsZero() const { return error.empty() && coef.IsZero(); }
  bool IsOne() const { return error.empty() && !negative && frac == 0 && IsUnit(coef); }
};

// The value of a number without its error or dispatcher text.
Num ValueOf(const Num& a) {
  Num n;
  n.negative = a.negative;
  n.coef = a.coef;
  n.frac = a.frac;
  return n;
}

constexpr Limb kPow10[kLimbDigits + 1] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Natural::DigitCount by comparisons on the top limb rather than a loop:
// the splitting asks for it several times per product.
std::size_t Digits(const Natural& a) {
  if (a.IsZero()) return 1;
  const Limb t = a.Limbs().back();
  const std::size_t top = t >= kPow10[5]   ? (t >= kPow10[7] ? (t >= kPow10[8] ? 9 : 8) : (t >= kPow10[6] ? 7 : 6))
                          : t >= kPow10[3] ? (t >= kPow10[4] ? 5 : 4)
                                           : (t >= kPow10[2] ? 3 : (t >= kPow10[1] ? 2 : 1));
  return (a.LimbCount() - 1) * kLimbDigits + top;
}

// Trailing decimal zeros of limbs holding a nonzero value.
std::size_t TrailingZeros(const std::vector<Limb>& limbs) {
  std::size_t count = 0;
  for (Limb limb : limbs) {
    if (limb == 0) {
      count += kLimbDigits;
      continue;
    }
    while (limb % 10 == 0) {
      limb /= 10;
      ++count;
    }
    break;
  }
  return count;
}

// out[0..) := floor(a / 10^digits) for a = a[0..n), digits < 9n; returns the
// number of limbs written (top ones may be zero). out may be a itself: each
// limb is written after the limbs it is read from.
std::size_t ShiftDigitsDown(const Limb* a, std::size_t n, std::size_t digits, Limb* out) {
  const std::size_t skip = digits / kLimbDigits;
  const std::size_t s = digits % kLimbDigits;
  const std::size_t m = n - skip;
  if (s == 0) {
    for (std::size_t i = 0; i < m; ++i) out[i] = a[skip + i];
    return m;
  }
  const Limb div = kPow10[s];
  const Limb up = kPow10[kLimbDigits - s];
  for (std::size_t i = 0; i + 1 < m; ++i) out[i] = a[skip + i] / div + (a[skip + i + 1] % div) * up;
  out[m - 1] = a[n - 1] / div;
  return m;
}

// Sets n.coef from limbs v (little-endian, possibly with zero limbs on top),
// dropping the zeros that end the fraction: the normal form.
void SetCoef(Num& n, std::vector<Limb> v) {
  while (!v.empty() && v.back() == 0) v.pop_back();
  if (v.empty()) {
    n.coef = Natural();
    n.negative = false;
    n.frac = 0;
    return;
  }
  if (n.frac > 0) {
    const auto drop = std::min<std::int64_t>(static_cast<std::int64_t>(TrailingZeros(v)), n.frac);
    if (drop > 0) {
      v.resize(ShiftDigitsDown(v.data(), v.size(), static_cast<std::size_t>(drop), v.data()));
      n.frac -= drop;
    }
  }
  n.coef = Natural::FromLimbs(std::move(v));
}

void Normalize(Num& n) {
  if (n.coef.IsZero()) {
    n.negative = false;
    n.frac = 0;
    return;
  }
  if (n.frac > 0 && TrailingZeros(n.coef.Limbs()) > 0) SetCoef(n, n.coef.Limbs());
}

Num Parse(std::string_view text) {
  Num n;
  if (HasError(text)) {
    n.error = std::string(text);
    return n;
  }
  n.raw = std::string(text);
  if (!IsNonNegative(text)) {
    n.negative = true;
    text.remove_prefix(1);
  }
  const std::size_t sepAt = text.find(GetDecimalSeparator());
  std::string digits(text);
  if (sepAt != std::string_view::npos) {
    digits.erase(sepAt, 1);
    n.frac = static_cast<std::int64_t>(text.size() - sepAt - 1);
  }
  const std::optional<Natural> c = Natural::FromDigits(digits);
  if (!c) {
    n = Num{};
    n.error = "#VALUE!";
    return n;
  }
  n.coef = *c;
  Normalize(n);
  return n;
}

// Characters of the normal form without sign, and those before the
// separator, for a coefficient of `digits` digits.
std::int64_t TextLength(const Num& n, std::int64_t digits) {
  if (n.frac == 0) return digits;
  return digits > n.frac ? digits + 1 : n.frac + 2;
}
std::int64_t IntegerChars(const Num& n, std::int64_t digits) {
  if (n.frac == 0) return digits;
  return digits > n.frac ? digits - n.frac : 1;
}

// The text of a number: the dispatcher's own when a step took that way,
// unless asValue asks for the normal form of the value.
std::string Text(const Num& n, bool asValue = false) {
  if (n.IsError()) return n.error;
  if (!asValue && !n.raw.empty()) return n.raw;
  std::string digits = n.coef.ToDigits();
  std::string out;
  out.reserve(digits.size() + 3);
  if (n.negative) out.push_back('-');
  if (n.frac == 0) return out + digits;
  const auto f = static_cast<std::size_t>(n.frac);
  if (digits.size() > f) {
    out.append(digits, 0, digits.size() - f);
    out.push_back(GetDecimalSeparator());
    out.append(digits, digits.size() - f);
  } else {
    out.push_back('0');
    out.push_back(GetDecimalSeparator());
    out.append(f - digits.size(), '0');
    out += digits;
  }
  return out;
}

double ClampMaxSD(double maxSD) { return maxSD > kMaxSignificantDigits ? kMaxSignificantDigits : (maxSD < 0 ? 0 : maxSD); }

// The composer's rounding of an internal result at maxSD W (W = the call's
// maxSD + 1), in place: false when the text would be cut to a cell's length
// (n is then for the caller to replace). The kept digits are cut from the
// limbs directly, rounded half up and stripped of the zeros ending the
// fraction, in one new coefficient.
bool Compose(Num& n, double W) {
  n.raw.clear();
  if (!n.coef.IsZero()) {
    double md = std::nearbyint(W + 1);
    if (!(md >= 1)) md = 1;
    const std::size_t digits = Digits(n.coef);
    if (md < static_cast<double>(digits)) {
      const std::vector<Limb>& limbs = n.coef.Limbs();
      const std::size_t drop = digits - static_cast<std::size_t>(md);
      const Limb decider = limbs[(drop - 1) / kLimbDigits] / kPow10[(drop - 1) % kLimbDigits] % 10;
      std::vector<Limb> kept;
      kept.reserve(limbs.size() - drop / kLimbDigits + 1);
      kept.resize(limbs.size() - drop / kLimbDigits);
      kept.resize(ShiftDigitsDown(limbs.data(), limbs.size(), drop, kept.data()));
      if (decider >= 5) {
        std::size_t i = 0;
        while (i < kept.size() && kept[i] == kLimbBase - 1) kept[i++] = 0;
        if (i < kept.size()) {
          ++kept[i];
        } else {
          kept.push_back(1);
        }
      }
      // The dropped digits become zeros; those in the fraction go.
      const auto d = static_cast<std::int64_t>(drop);
      if (d <= n.frac) {
        n.frac -= d;
        SetCoef(n, std::move(kept));
      } else {
        n.coef = ShiftDecimalLeft(Natural::FromLimbs(std::move(kept)), static_cast<std::size_t>(d - n.frac));
        n.frac = 0;
      }
    }
  }
  Normalize(n);
  const bool positive = !n.negative;
  const auto digits = static_cast<std::int64_t>(Digits(n.coef));
  if (IntegerChars(n, digits) >= (positive ? 32768 : 32767)) {
    n = Num{};
    n.error = "#NUM!";
    return true;
  }
  return TextLength(n, digits) <= (positive ? 32767 : 32766);
}

Num PassThrough(const Num& a, const Num& b) {
  for (const char* e : {"#VALUE!", "#NUM!", "#DIV/0!"}) {
    if (a.error == e || b.error == e) {
      Num n;
      n.error = e;
      return n;
    }
  }
  Num n;
  n.error = a.IsError() ? a.error : b.error;
  return n;
}

// True when Compose(ValueOf(n), W) would give n's value unchanged: n is in
// normal form, has no more digits than the rounding keeps, and its text fits
// a cell. Then that step can take n itself, without a copy.
bool ComposeKeeps(const Num& n, double W) {
  if (n.IsError()) return false;
  if (n.coef.IsZero()) return !n.negative && n.frac == 0;
  if (n.frac > 0 && n.coef.Limbs()[0] % 10 == 0) return false;
  double md = std::nearbyint(W + 1);
  if (!(md >= 1)) md = 1;
  const auto digits = static_cast<std::int64_t>(Digits(n.coef));
  const bool positive = !n.negative;
  return static_cast<double>(digits) <= md && IntegerChars(n, digits) < (positive ? 32768 : 32767) &&
         TextLength(n, digits) <= (positive ? 32767 : 32766);
}

// Calculate(3, a, b, maxSD), internal. (One result object throughout, so
// that it is built in the caller's place.) aAsValue and bAsValue stand an
// operand in for the rounded copy of itself a step would have made: only
// the text handed to the dispatcher, should the result not fit, differs.
Num MultiplyNum(const Num& a, const Num& b, double maxSD, bool aAsValue = false, bool bAsValue = false) {
  Num out;
  if (a.IsError() || b.IsError()) {
    out = PassThrough(a, b);
    return out;
  }
  const double cost = static_cast<double>(a.coef.LimbCount() + b.coef.LimbCount());
  if (!Charge(300 + 60 * cost)) {
    out.error = "#NUM!";
    return out;
  }
  if (a.IsOne()) {
    out = ValueOf(b);  // the powers' first product: 1 times the base
  } else if (b.IsOne()) {
    out = ValueOf(a);
  } else if (!a.coef.IsZero() && !b.coef.IsZero()) {
    out.coef = Multiply(a.coef, b.coef);
    out.frac = a.frac + b.frac;
    out.negative = a.negative != b.negative;
  }
  if (!Compose(out, ClampMaxSD(maxSD) + 1)) out = Parse(Op(3, Text(a, aAsValue), Text(b, bAsValue), maxSD));
  return out;
}

const Num& One() {
  static const Num one = [] {
    Num n;
    n.coef = Natural(1);
    return n;
  }();
  return one;
}

// Calculate(3, a, 1, maxSD) for an a of the caller's to give up (the
// product of a split without remainder by b^0): when the rounding leaves a
// as it is, a is the product and is not copied.
Num MultiplyByOne(Num&& a, double maxSD) {
  const double W = ClampMaxSD(maxSD) + 1;
  if (!a.raw.empty() || a.IsZero() || !ComposeKeeps(a, W)) return MultiplyNum(a, One(), maxSD);
  Num out;
  const double cost = static_cast<double>(a.coef.LimbCount() + 1);
  if (!Charge(300 + 60 * cost)) {
    out.error = "#NUM!";
    return out;
  }
  out = std::move(a);
  out.raw.clear();
  return out;
}

// Calculate(6, b, e, maxSD) for e of 0 to 3, internal, inputs not restricted.
Num SmallPowerNum(const Num& b, int e, double maxSD) {
  Num R;
  if (b.IsError()) {
    R = b;
    return R;
  }
  auto viaText = [&]() { return Parse(Op(6, Text(b), std::to_string(e), maxSD)); };
  // The cleaning of the power's operands keeps 32,768 significant digits.
  const auto digits = static_cast<std::int64_t>(Digits(b.coef));
  if (digits > static_cast<std::int64_t>(kCleanUpDigits)) {
    R = viaText();
    return R;
  }
  const double W = ClampMaxSD(maxSD) + 1;
  if (e == 0) {
    R.coef = Natural(1);
  } else if (b.IsZero() || b.IsOne() || e == 1) {
    R = ValueOf(b);
  } else {
    const double D = 1 + static_cast<double>(TextLength(b, digits)) + (b.negative ? 1 : 0) - (b.frac > 0 ? 1 : 0);
    // The products start from 1, and 1 times b, rounded at D + W, is b
    // itself (D exceeds its digits) whenever its text fits a cell: then b
    // stands in for that product (only its work is charged), and the second
    // product is b times b.
    int i = 0;
    if (ComposeKeeps(b, ClampMaxSD(D + W) + 1)) {
      if (!Charge(300 + 60 * static_cast<double>(1 + b.coef.LimbCount()))) {
        R.error = "#NUM!";
        return R;
      }
      R = MultiplyNum(b, b, D + W, true);
      i = 2;
    } else {
      R.coef = Natural(1);
    }
    for (; i < e && !R.IsError(); ++i) R = MultiplyNum(R, b, D + W);
  }
  if (R.IsError()) return R;
  if (!Compose(R, W)) R = viaText();
  return R;
}

// log10 |b| of a nonzero number, from its leading digits.
double Log10Num(const Num& b) {
  const std::string lead = ShiftDecimalRight(b.coef, b.coef.DigitCount() > 17 ? b.coef.DigitCount() - 17 : 0).ToDigits();
  const double mantissa = std::strtod(lead.c_str(), nullptr) / std::pow(10.0, static_cast<double>(lead.size() - 1));
  return static_cast<double>(b.coef.DigitCount()) - 1 - static_cast<double>(b.frac) + std::log10(mantissa);
}

bool CertainUnderflowNum(const Num& b, std::string_view e, double M) {
  // |log10 |b|| is at most |digits - fraction digits| + 1; below the cell's
  // limit whatever the digits, there is nothing to decide.
  const double leAbove = static_cast<double>(e.size()) - 1 + std::log10(e.front() - '0' + 1);
  const double bound = std::fabs(static_cast<double>(b.coef.DigitCount()) - static_cast<double>(b.frac)) + 1;
  if (leAbove + std::log10(bound) < std::log10(kOverflowDigits + 1)) return false;
  const double le = Log10Of(e).value_or(0);
  const double l = Log10Num(b);
  Growth g;
  if (std::fabs(l) > 0.25) {
    g = {l > 0 ? 1 : -1, std::log10(std::fabs(l))};
  } else if (le >= 5) {
    g = GrowthOf(Text(b), le);
  }
  return g.sign < 0 && Certain(g, le, M);
}

// |log10 |b|| is at most bound = |digits - fraction digits| + 1, and e is
// below e' = (leading digit of e + 1) * 10^(digits of e - 1). Neither an
// overflow nor an underflow can be certain unless e * |log10 |b|| reaches
// about 32,769 (the tests above and in CertainOverflow); when e' * bound is
// at most 32,000 it is well clear of that, whatever the rounding of the
// logarithms, and those tests need not be run.
bool FarFromTheLimits(const Num& b, std::uint64_t e) {
  std::uint64_t lead = e;
  double scale = 1;
  while (lead >= 10) {
    lead /= 10;
    scale *= 10;
  }
  const double bound = std::fabs(static_cast<double>(Digits(b.coef)) - static_cast<double>(b.frac)) + 1;
  return static_cast<double>(lead + 1) * scale * bound <= 32000;
}
bool CertainUnderflowNum(const Num& b, std::uint64_t e, double M) {
  return !FarFromTheLimits(b, e) && CertainUnderflowNum(b, std::to_string(e), M);
}

// Powers whose value is known without the products: every product the
// splitting would form gives these same values, so the answer is the same
// without the work. Sets `out` and answers true for those.
bool KnownPower(const Num& b, bool oddExponent, Num& out) {
  if (b.IsError() || b.IsOne()) {
    out = b;
  } else if (b.IsZero()) {
    out = Num{};  // also a power that fell below what a cell shows
  } else if (b.negative && b.frac == 0 && IsUnit(b.coef)) {
    out = Num{};
    out.coef = Natural(1);
    out.negative = oddExponent;
  } else {
    return false;
  }
  return true;
}

// The splitting for exponents below 10^18, on machine integers: the same
// search (SearchSplitSmall) and the same order of products as for texts.
Num SplitSmall(const Num& b, std::uint64_t e, double M) {
  if (e <= 3) return SmallPowerNum(b, static_cast<int>(e), M);
  Num known;
  if (KnownPower(b, e % 2 == 1, known)) return known;
  if (CertainUnderflowNum(b, e, M)) return Num{};

  const SplitSmallResult s = SearchSplitSmall(e);
  if (t_work.spent > kWorkBudget) return Parse("#NUM!");
  Num P = SplitSmall(b, s.H, M);
  P = SplitSmall(P, s.Q, M);
  // b^0 and b^1 cost no work: b^0 is 1, and b^1 is b rounded, which is b
  // itself when the rounding keeps it. Those stand in for them.
  const bool plain = !b.IsError() && Digits(b.coef) <= static_cast<std::size_t>(kCleanUpDigits);
  if (s.R == 0 && plain) return MultiplyByOne(std::move(P), M);
  if (s.R == 1 && plain && ComposeKeeps(b, ClampMaxSD(M) + 1)) return MultiplyNum(P, b, M, false, true);
  const Num T = SplitSmall(b, s.R, M);
  return MultiplyNum(P, T, M);
}

Num SplitNum(const Num& b, const std::string& e, double M) {
  if (AtMost3(e)) return SmallPowerNum(b, e.back() - '0', M);
  if (e.size() <= 18) return SplitSmall(b, std::stoull(e), M);
  Num known;
  if (KnownPower(b, (e.back() - '0') % 2 == 1, known)) return known;
  if (CertainUnderflowNum(b, std::string_view(e), M)) return Num{};

  const Split s = SearchSplit(e);
  if (t_work.spent > kWorkBudget) return Parse("#NUM!");
  Num P = SplitNum(b, s.H, M);
  P = SplitNum(P, s.Q, M);
  const Num T = SplitNum(b, s.R, M);
  return MultiplyNum(P, T, M);
}

}  // namespace

std::string PowerBySplitting(std::string_view b, std::string_view e, double M) {
  if (AtMost3(e)) return Op(6, b, e, M);
  return Text(SplitNum(Parse(b), std::string(e), M));
}

std::string Power_Function(std::string B, std::string E, double M, bool restrict_input_lengths, const Value& D) {
  const bool outermost = t_work.depth == 0;
  if (outermost) t_work.spent = 0;
  ++t_work.depth;
  struct Leave {
    ~Leave() { --t_work.depth; }
  } leave;

  type_CleanUp e = CleanUp(E, true, true);
  if (e.IsError) return e.NumClean;
  type_CleanUp b = CleanUp(B, true, true);
  if (b.IsError) return b.NumClean;
  E = std::move(e.NumClean);
  B = std::move(b.NumClean);
  const char sep = GetDecimalSeparator();
  const bool eFraction = E.find(sep) != std::string::npos;
  const bool bFraction = B.find(sep) != std::string::npos;

  double digits = 0;
  if (D.isOmitted()) {
    digits = static_cast<double>(E.size() + B.size()) - (eFraction ? 1 : 0) - (bFraction ? 1 : 0);
  } else {
    const std::optional<double> d = platform::VariantToDouble(D);
    if (!d) return "#VALUE!";
    digits = *d;
  }
  if (restrict_input_lengths && digits + digits > 32767) return "#NUM!";

  if (E == "0") return "1";
  if (B == "0") return "0";
  if (B == "1") return "1";
  if (E == "1") return B;
  if (eFraction && !IsNonNegative(B)) return "#NUM!";

  if (!IsNonNegative(E)) {
    B = Op(4, "1", B, digits + M);
    if (HasError(B)) return B;
    E.erase(0, 1);
  }

  if (eFraction) {
    // Here a fractional exponent num/den (reduced) will take the root of
    // degree den of B and raise it to num. Roots are not available yet.
    return "#VALUE!";
  }

  // E is a cleaned whole number without sign here: comparing its digits is
  // the numeric comparison.
  if (CompareDigitStrings(E, "3", false, true)) {
    const Num b = Parse(B);
    // The same integer bound tells a power that cannot overflow; up to four
    // digits of exponent it saves the logarithms (longer ones may take a
    // dispatcher step to measure a base near 1, which is charged as work).
    const bool far = E.size() <= 4 && E.find_first_not_of("0123456789") == std::string::npos && !b.IsError() &&
                     !b.IsZero() && FarFromTheLimits(b, std::stoull(E));
    if (outermost && !far && CertainOverflow(B, E, M)) return "#NUM!";
    std::string result = Text(SplitNum(b, E, M));
    if (outermost && t_work.spent > kWorkBudget) return "#NUM!";
    return result;
  }
  // E is 1, 2 or 3: that many products, starting from 1.
  std::string product = "1";
  for (int i = E.front() - '0'; i > 0; --i) {
    product = Op(3, product, B, digits + M);
    if (HasError(product)) return product;
  }
  return product;
}

}  // namespace decimora::frame
