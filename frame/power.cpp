#include "frame/power.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "engine/natural.h"
#include "engine/number_text.h"
#include "frame/calculate.h"
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

bool HasError(std::string_view s) { return s.find('#') != std::string_view::npos; }

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

Split SearchSplit(std::string_view eText) {
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

// |b|^e lies below 10^-32769: its text shows nothing but zeros, and every
// product with it is "0".
bool CertainUnderflow(std::string_view b, std::string_view e, double M) {
  const double le = Log10Of(e).value_or(0);
  const Growth g = GrowthOf(b, le);
  return g.sign < 0 && Certain(g, le, M);
}

}  // namespace

std::string PowerBySplitting(std::string_view b, std::string_view e, double M) {
  if (AtMost3(e)) return Op(6, b, e, M);
  // Bases whose powers are known exactly: every product the splitting would
  // form gives these same texts, so the answer is the same, without the work.
  if (HasError(b) || b == "1") return std::string(b);
  // A power that fell below what a cell shows comes back as zeros ("0.000");
  // every product with it is "0".
  const char sep = GetDecimalSeparator();
  if (b.find_first_not_of(std::string("-0") + sep) == std::string_view::npos) return "0";
  if (b == "-1") return (e.back() - '0') % 2 == 0 ? "1" : "-1";

  if (CertainUnderflow(b, e, M)) return "0";

  const Split s = SearchSplit(e);
  if (t_work.spent > kWorkBudget) return "#NUM!";
  auto power = [M](std::string_view base, const std::string& exponent) {
    return AtMost3(exponent) ? Op(6, base, exponent, M) : PowerBySplitting(base, exponent, M);
  };
  std::string P = power(b, s.H);
  P = power(P, s.Q);
  const std::string T = power(b, s.R);
  return Op(3, P, T, M);
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

  const Value greater = CompareNumbers(E, "3", false, true);
  if (greater.isBool() && greater.boolean()) {
    if (outermost && CertainOverflow(B, E, M)) return "#NUM!";
    std::string result = PowerBySplitting(B, E, M);
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
