#include "frame/power_bounds.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "engine/cell_limits.h"
#include "engine/decimal.h"
#include "engine/errors.h"
#include "engine/number_text.h"

namespace decimora::frame {

using namespace engine;

namespace {

// A whole-number power whose integer part has this many digits or more can
// never fit a cell: the composer answers "#NUM!" for it.
constexpr double kOverflowDigits = static_cast<double>(kIntegerDigitsLimit);

// The growth of |b|^j per unit of j: log10 |b|, as its sign and the log10 of
// its size (so that bases within 10^-400 of 1 are still told apart).
struct Growth {
  int sign = 0;  // 0: |b| is exactly 1
  double log10Size = 0;
};

// exponentLog10 is log10 of the exponent the growth will be used with: a
// base near 1 takes a subtraction step to measure, which is only worth it
// when the exponent could carry the power out of a cell.
Growth GrowthOf(std::string_view b, double exponentLog10) {
  const std::string mag = AbsText(b);
  Growth g;
  const std::optional<double> l = Log10OfText(mag);
  if (!l) return {0, 0};  // zero (handled before)
  if (std::fabs(*l) > 0.25) {
    g.sign = *l > 0 ? 1 : -1;
    g.log10Size = std::log10(std::fabs(*l));
    return g;
  }
  // |log10 |b|| <= 0.31 here: below 10^5 no exponent reaches a cell's limit.
  if (exponentLog10 < 5) return g;
  // Near 1: log10(1 + d) from d = |b| - 1, exact enough at 20 digits.
  const std::string d = StepSubtract(StepNumber::FromText(mag), Decimal::Integer(1), 20).Text();
  if (HasError(d)) return {0, 0};
  const std::optional<double> ld = Log10OfText(AbsText(d));
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

// |log10 |b|| is at most |digits - fraction digits| + 1.
double Log10Bound(const StepNumber& b) {
  return std::fabs(static_cast<double>(b.value.DigitCount()) - static_cast<double>(b.value.frac)) + 1;
}

}  // namespace

bool CertainOverflow(std::string_view b, std::string_view e, double M) {
  const double le = Log10OfText(e).value_or(0);
  const Growth g = GrowthOf(b, le);
  return g.sign > 0 && Certain(g, le, M);
}

bool CertainUnderflow(const StepNumber& b, std::string_view e, double M) {
  // Below the cell's limit whatever the digits, there is nothing to decide.
  const double leAbove = static_cast<double>(e.size()) - 1 + std::log10(e.front() - '0' + 1);
  if (leAbove + std::log10(Log10Bound(b)) < std::log10(kOverflowDigits + 1)) return false;
  const double le = Log10OfText(e).value_or(0);
  const double l = Log10(b.value).value_or(0);
  Growth g;
  if (std::fabs(l) > 0.25) {
    g = {l > 0 ? 1 : -1, std::log10(std::fabs(l))};
  } else if (le >= 5) {
    g = GrowthOf(b.Text(), le);
  }
  return g.sign < 0 && Certain(g, le, M);
}

// Neither an overflow nor an underflow can be certain unless e * |log10 |b||
// reaches about 32,769 (the tests above); when e' * bound is at most 32,000
// it is well clear of that, whatever the rounding of the logarithms.
bool FarFromTheLimits(const StepNumber& b, std::uint64_t e) {
  std::uint64_t lead = e;
  double scale = 1;
  while (lead >= 10) {
    lead /= 10;
    scale *= 10;
  }
  return static_cast<double>(lead + 1) * scale * Log10Bound(b) <= 32000;
}

bool CertainUnderflow(const StepNumber& b, std::uint64_t e, double M) {
  return !FarFromTheLimits(b, e) && CertainUnderflow(b, std::to_string(e), M);
}

}  // namespace decimora::frame
