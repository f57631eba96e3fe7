#include "engine/decimal.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>

#include "engine/number_text.h"

namespace decimora::engine {

namespace {

constexpr Limb kPow10[kLimbDigits + 1] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

bool IsUnit(const Natural& a) { return a.LimbCount() == 1 && a.Limbs()[0] == 1; }

// Sets a.coef from limbs v (little-endian, possibly with zero limbs on top),
// dropping the zeros that end the fraction: the normal form.
void SetCoef(Decimal& a, std::vector<Limb> v) {
  while (!v.empty() && v.back() == 0) v.pop_back();
  if (v.empty()) {
    a = Decimal();
    return;
  }
  if (a.frac > 0) {
    const auto drop = std::min<std::int64_t>(static_cast<std::int64_t>(TrailingZeroDigits(v)), a.frac);
    if (drop > 0) {
      v.resize(ShiftDigitsDown(v.data(), v.size(), static_cast<std::size_t>(drop), v.data()));
      a.frac -= drop;
    }
  }
  a.coef = Natural::FromLimbs(std::move(v));
}

// Both coefficients on the larger of the two fractions.
struct Aligned {
  Natural a, b;
  std::int64_t frac;
};
Aligned Align(const Decimal& a, const Decimal& b) {
  const std::int64_t f = std::max(a.frac, b.frac);
  return {ShiftDecimalLeft(a.coef, static_cast<std::size_t>(f - a.frac)),
          ShiftDecimalLeft(b.coef, static_cast<std::size_t>(f - b.frac)), f};
}

// a + b with b's sign given.
Decimal SignedSum(const Decimal& a, const Decimal& b, bool bNegative) {
  Aligned x = Align(a, b);
  Decimal out;
  out.frac = x.frac;
  if (a.negative == bNegative) {
    out.coef = engine::Add(x.a, x.b);
    out.negative = a.negative;
  } else if (engine::Compare(x.a, x.b) >= 0) {
    out.coef = engine::Subtract(x.a, x.b);
    out.negative = a.negative;
  } else {
    out.coef = engine::Subtract(x.b, x.a);
    out.negative = bNegative;
  }
  out.Normalize();
  return out;
}

}  // namespace

std::size_t DigitCountOf(const Natural& a) {
  if (a.IsZero()) return 1;
  const Limb t = a.Limbs().back();
  const std::size_t top = t >= kPow10[5]   ? (t >= kPow10[7] ? (t >= kPow10[8] ? 9 : 8) : (t >= kPow10[6] ? 7 : 6))
                          : t >= kPow10[3] ? (t >= kPow10[4] ? 5 : 4)
                                           : (t >= kPow10[2] ? 3 : (t >= kPow10[1] ? 2 : 1));
  return (a.LimbCount() - 1) * kLimbDigits + top;
}

std::size_t TrailingZeroDigits(const std::vector<Limb>& limbs) {
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

std::size_t ShiftDigitsDown(const Limb* a, std::size_t n, std::size_t digits, Limb* out) {
  assert(digits < kLimbDigits * n);
  const std::size_t skip = digits / kLimbDigits;
  const std::size_t s = digits % kLimbDigits;
  const std::size_t m = n - skip;
  if (s == 0) {
    for (std::size_t i = 0; i < m; ++i) out[i] = a[skip + i];
    return m;
  }
  // Each limb is written after the limbs it is read from, so out may be a.
  const Limb div = kPow10[s];
  const Limb up = kPow10[kLimbDigits - s];
  for (std::size_t i = 0; i + 1 < m; ++i) out[i] = a[skip + i] / div + (a[skip + i + 1] % div) * up;
  out[m - 1] = a[n - 1] / div;
  return m;
}

std::optional<Decimal> Decimal::Parse(std::string_view text) {
  Decimal n;
  if (!text.empty() && text.front() == '-') {
    n.negative = true;
    text.remove_prefix(1);
  }
  const std::size_t sepAt = text.find(GetDecimalSeparator());
  std::string digits(text);
  if (sepAt != std::string_view::npos) {
    digits.erase(sepAt, 1);
    n.frac = static_cast<std::int64_t>(text.size() - sepAt - 1);
  }
  std::optional<Natural> c = Natural::FromDigits(digits);
  if (!c) return std::nullopt;
  n.coef = std::move(*c);
  n.Normalize();
  return n;
}

std::string Decimal::Text() const {
  std::string out;
  out.reserve(DigitCount() + 3);
  if (negative) out.push_back('-');
  if (frac == 0) {
    coef.AppendDigits(out);
    return out;
  }
  const std::string digits = coef.ToDigits();
  const auto f = static_cast<std::size_t>(frac);
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

bool Decimal::IsOne() const { return !negative && frac == 0 && IsUnit(coef); }

std::size_t Decimal::DigitCount() const { return DigitCountOf(coef); }

std::int64_t Decimal::TextLength() const {
  const auto digits = static_cast<std::int64_t>(DigitCount());
  if (frac == 0) return digits;
  return digits > frac ? digits + 1 : frac + 2;
}

std::int64_t Decimal::IntegerChars() const {
  const auto digits = static_cast<std::int64_t>(DigitCount());
  if (frac == 0) return digits;
  return digits > frac ? digits - frac : 1;
}

void Decimal::Normalize() {
  assert(frac >= 0);
  if (coef.IsZero()) {
    negative = false;
    frac = 0;
    return;
  }
  if (frac > 0 && coef.Limbs()[0] % 10 == 0) SetCoef(*this, coef.Limbs());
}

int Compare(const Decimal& a, const Decimal& b) {
  const bool aNeg = a.negative && !a.IsZero();
  const bool bNeg = b.negative && !b.IsZero();
  if (aNeg != bNeg) return aNeg ? -1 : 1;
  const Aligned x = Align(a, b);
  const int magnitude = engine::Compare(x.a, x.b);
  return aNeg ? -magnitude : magnitude;
}

Decimal Add(const Decimal& a, const Decimal& b) { return SignedSum(a, b, b.negative); }
Decimal Subtract(const Decimal& a, const Decimal& b) { return SignedSum(a, b, !b.negative && !b.IsZero()); }

Decimal Multiply(const Decimal& a, const Decimal& b) {
  if (a.IsZero() || b.IsZero()) return Decimal();
  Decimal out(a.negative != b.negative, engine::Multiply(a.coef, b.coef), a.frac + b.frac);
  out.Normalize();
  return out;
}

Decimal ShiftDecimal(const Decimal& a, std::int64_t k) {
  Decimal out = a;
  if (k >= 0) {
    if (out.frac >= k) {
      out.frac -= k;
    } else {
      out.coef = ShiftDecimalLeft(out.coef, static_cast<std::size_t>(k - out.frac));
      out.frac = 0;
    }
  } else {
    out.frac -= k;
  }
  out.Normalize();
  return out;
}

void RoundToDigits(Decimal& n, std::size_t md) {
  if (md < 1) md = 1;
  if (!n.coef.IsZero()) {
    const std::size_t digits = n.DigitCount();
    if (md < digits) {
      // The kept digits are cut from the limbs directly, rounded half up and
      // stripped of the zeros ending the fraction, in one new coefficient.
      const std::vector<Limb>& limbs = n.coef.Limbs();
      const std::size_t drop = digits - md;
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
  n.Normalize();
}

double LeadingDigitsValue(std::string_view digits) {
  return std::strtod(std::string(digits.substr(0, 17)).c_str(), nullptr);
}

std::optional<double> Log10(const Decimal& a) {
  if (a.IsZero()) return std::nullopt;
  const std::size_t digits = a.DigitCount();
  const std::string lead = ShiftDecimalRight(a.coef, digits > 17 ? digits - 17 : 0).ToDigits();
  const double mantissa = LeadingDigitsValue(lead) / std::pow(10.0, static_cast<double>(lead.size() - 1));
  return static_cast<double>(digits) - 1 - static_cast<double>(a.frac) + std::log10(mantissa);
}

std::optional<double> Log10OfText(std::string_view t) {
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
  const double mantissa = LeadingDigitsValue(lead) / std::pow(10.0, static_cast<double>(lead.size() - 1));
  const double exponent = f < s ? static_cast<double>(s - f - 1) : -static_cast<double>(f - s);
  return exponent + std::log10(mantissa);
}

}  // namespace decimora::engine
