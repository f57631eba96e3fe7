#include "engine/division.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <string>
#include <vector>

#include "engine/cell_limits.h"
#include "engine/decimal.h"
#include "engine/multiply.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "platform/convert.h"

namespace decimora::engine {

// ---------------------------------------------------------------------------
// The reciprocal iteration
//
// myInverse5 works on x = 0.z * 10^-u, z a digit string of p + 2 digits. One
// step multiplies z by "2 - kx": w = k * z read as 0.w (L = its length), the
// digit-wise complement of w with "1" in front, and the product z' = z * w'
// cut back to its first p + 2 digits. The complement leaves a last "0" of w
// as it is, so when w ends in 0 the factor is 10^-(L-1) smaller than 2 - kx.
// When z' has one digit more than len(z) + L the value crossed a power of
// ten and u drops by one; the first digit of z' then is 1 while z's was 5 or
// more, and otherwise z' starts with a digit at least z's first (w' >= 10^L),
// so "the first digit fell" is exactly "the product grew by a digit".
//
// Why one exact division gives the same digits (the direct path below).
//
// Let k be the divisor (K digits, k >= 2), l = p + 2, y = 1/k, and take the
// grid G of numbers with l significant digits. Write Z* = Z * 10^(1-K-l) for
// the largest point of G strictly below y, so Z = floor((10^(K+l-1) - 1)/k),
// an l-digit integer, and u* = 10^(1-K-l) for the grid step at Z*.
//
// 1. Start. FindStart builds x0 from the leading digits of 5^n. If 0.1 <= k*x0 < 1
//    (checked: k * z0 has exactly len(z0) + u0 digits), every iterate stays
//    in [x0, y): a step maps x to N(x) = x(2 - kx) - x*d*10^-L, d in {0, 10},
//    and y - x(2 - kx) = k(y - x)^2 >= 0, so N(x) < y; the complement is never
//    negative, so N(x) >= x. In that range kx is in [0.1, 1), so reading
//    k*z as 0.w is the true kx, and u follows the true value.
// 2. Monotone climb. Cutting to l digits only lowers a value, and an iterate
//    on G is not lowered below itself, so x1 <= x2 <= ... <= Z*. The
//    iteration ends at some z_f with f >= s + 1 (s fixed steps, then at least
//    one checking step) and returns the first p digits of z_f. Hence
//    z_{s+1} <= z_f <= Z*, whatever the stopping rule does.
// 3. Distance after s + 1 steps. With E = y - x, exactly
//        E' = k E^2 + x*d*10^-L + t,  0 <= t < (grid step) <= u*,
//    and x*d*10^-L < 10^(2-K) * lead(Z) * u* / 10 (10^(4-K)... for the
//    first step, whose z0 is padded to p digits only). So e = kE obeys
//    e' <= e^2 + g with g = beta * k * u*; we follow an upper bound of
//    log10 e through s + 1 steps from the known e0 = 1 - k*x0 and get
//    y - z_{s+1} <= B u*.
// 4. Same digits. z_{s+1} > Z* - B u*, so z_{s+1}, z_f and Z* are l-digit
//    integers in (Z - B, Z]. When Z mod 100 >= ceil(B) - 1, all of them share
//    their first p digits (and their power of ten, u = K - 1) with Z: the
//    answer is floor(Z / 100) with powerOfTen -(p + K - 1).
//
// When the iteration has converged, B is about beta: below 2 for divisors of
// two digits or more, so only Z = ...00 goes the slow way; there the answer
// really can differ. Two ways: Z - 1 can be a second fixed point of the cut
// step (z (10^L - kz - d) < 10^L holds for z = Z - 1 when d = 10 and Z* lies
// very close to y, as for k = 99999999999999999, p = 3, which stops at
// 999 * 10^-20 instead of 100 * 10^-19), or the checking step stops on a
// value just below Z that agrees with its predecessor in the first p digits.
// Every case the test above does not clear runs the literal iteration, as do
// short precisions (p < 9, where z0 may be longer than l digits) and a start
// outside [0.1/k, 1/k).
// ---------------------------------------------------------------------------

namespace {

constexpr double kLn2 = 0.693147180559945;
constexpr double kLn10 = 2.30258509299405;
constexpr double kLog10Of5 = 0.698970004336019;

// The smallest p the direct path takes (z0 has at most 9 digits, so from here
// on it fits the l-digit grid).
constexpr std::int32_t kDirectMinDigits = 9;
// Digits of a long divisor kept when bracketing the exact quotient.
constexpr std::size_t kDivisorGuardDigits = 30;

InverseStatistics g_statistics;

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int LeadingDigit(const Natural& a) {
  Limb top = a.Limbs().back();
  while (top >= 10) top /= 10;
  return static_cast<int>(top);
}

Natural PowerOfTen(std::size_t e) { return ShiftDecimalLeft(Natural(1), e); }

double Leading17(std::string_view digits) { return LeadingDigitsValue(digits); }

// The same for the digits of a, read from its limbs: the integer of (up to)
// 17 digits fits 64 bits, and its conversion rounds to nearest as strtod
// does, so both give the same double.
double Leading17(const Natural& a) {
  const std::size_t digits = a.DigitCount();
  const Natural lead = digits > 17 ? ShiftDecimalRight(a, digits - 17) : a;
  std::uint64_t value = 0;
  for (std::size_t i = lead.LimbCount(); i-- > 0;) value = value * kLimbBase + lead.Limbs()[i];
  return static_cast<double>(value);
}

// The bit estimate (n, the least with 2^n >= k) and the starting value: z
// holds the leading 1 + c digits of 5^n, x0 = 0.z * 10^-u is just below 1/2^n.
struct Start {
  std::string z;
  std::int64_t u = 0;
  std::int32_t n = 0;
};

Start FindStart(const Natural& k, std::string_view kText) {
  double t = std::log(Leading17(kText)) / kLn2;
  if (kText.size() > 17) t += static_cast<double>(kText.size() - 17) * kLn10 / kLn2;
  Start st;
  st.n = t == std::floor(t) ? static_cast<std::int32_t>(t) : static_cast<std::int32_t>(std::floor(t)) + 1;
  for (;;) {
    const double a = st.n * kLog10Of5;
    const double e = std::floor(a);
    double m = std::pow(10.0, a - e);
    st.u = st.n - (static_cast<std::int64_t>(e) + 1);
    st.z.clear();
    double digit = std::floor(m);
    st.z += std::to_string(static_cast<long>(digit));
    m -= digit;
    const int c = static_cast<int>(std::nearbyint(std::min(16.0, e) / 2));
    for (int i = 0; i < c; ++i) {
      m *= 10;
      digit = std::floor(m);
      st.z += std::to_string(static_cast<long>(digit));
      m -= digit;
    }
    const Natural w = Multiply(k, *Natural::FromDigits(st.z));
    if (w.DigitCount() <= static_cast<std::size_t>(st.n)) return st;
    ++st.n;
  }
}

std::int32_t FixedSteps(std::int32_t n, std::int32_t p) {
  return static_cast<std::int32_t>(std::nearbyint(std::log(static_cast<double>(n)) + std::log(static_cast<double>(p)) / kLn2));
}

// One Newton step on limbs: z' = z * (2 * 10^L - w - d), w = k z.
// *crossed is set when the first digit of z' is below that of z.
Natural NewtonStep(const Natural& k, const Natural& z, bool* crossed) {
  const Natural w = Multiply(k, z);
  const std::size_t L = w.DigitCount();
  Natural factor = Subtract(MultiplySmall(PowerOfTen(L), 2), w);
  if (w.Limbs().front() % 10 == 0) factor = Subtract(factor, Natural(10));  // a last "0" is not complemented
  Natural next = Multiply(z, factor);
  *crossed = LeadingDigit(next) < LeadingDigit(z);
  return next;
}

// The first `count` digits of a (a has at least that many).
Natural FirstDigits(const Natural& a, std::size_t count) { return ShiftDecimalRight(a, a.DigitCount() - count); }

// The reciprocal as limbs: its p digits (or "1") and the power of ten.
struct Reciprocal {
  Natural digits;
  std::int32_t powerOfTen = 0;
};

Reciprocal Iterate(const Natural& k, const Start& st, std::int32_t p) {
  const std::size_t keep = static_cast<std::size_t>(p) + 2;
  std::int64_t u = st.u;
  Natural z = *Natural::FromDigits(st.z);
  if (st.z.size() < static_cast<std::size_t>(p)) z = ShiftDecimalLeft(z, static_cast<std::size_t>(p) - st.z.size());

  // A transient failure of the arithmetic would be retried here; exact limb
  // arithmetic has none, so the "#EXPR!" answer never arises.
  bool crossed = false;
  Natural last;
  const std::int32_t s = FixedSteps(st.n, p);
  for (std::int32_t i = 0; i < s; ++i) {
    last = NewtonStep(k, z, &crossed);
    if (crossed) --u;
    z = FirstDigits(last, keep);
  }
  // Until the first p - 1 digits stop changing.
  std::size_t pos = 1;
  const std::size_t P = static_cast<std::size_t>(p);
  while (pos < P) {
    last = NewtonStep(k, z, &crossed);
    if (crossed) --u;
    const Natural cut = FirstDigits(last, keep);
    const std::string a = cut.ToDigits();
    const std::string b = z.ToDigits();
    std::size_t differ = pos;
    while (differ <= P && a[differ - 1] == b[differ - 1]) ++differ;
    pos = differ;
    z = cut;
  }
  if (last.IsZero()) last = z;  // no step ran (cannot happen: s >= 1)
  return {FirstDigits(last, P), static_cast<std::int32_t>(-(static_cast<std::int64_t>(p) + u))};
}

// log10(10^a + 10^b), for a, b far below 0 as well.
double Log10Sum(double a, double b) {
  const double hi = std::max(a, b);
  const double lo = std::min(a, b);
  return hi + std::log10(1 + std::pow(10.0, lo - hi));
}

// The start's distance from 1/k, or nullopt when the start does not lie in
// [0.1/k, 1/k) (then only the iteration answers).
std::optional<double> StartDistance(const Natural& k, const Start& st) {
  const Natural kz0 = Multiply(k, *Natural::FromDigits(st.z));
  const std::size_t kz0Digits = kz0.DigitCount();
  if (static_cast<std::int64_t>(kz0Digits) != static_cast<std::int64_t>(st.z.size()) + st.u) return std::nullopt;
  // e0 = 1 - k x0 <= 1 - 0.(first 17 digits of k z0); a little margin for
  // the rounding of the double.
  return std::min(1.0, 1 - Leading17(kz0) / std::pow(10.0, static_cast<double>(std::min<std::size_t>(kz0Digits, 17))) + 1e-15);
}

// Whether the bound of the comment above proves that the iteration ends on
// the first p digits of Z, given Z's leading digits (Leading17 of Z) and its
// last two (Z mod 100).
bool DirectBoundHolds(std::string_view kText, const Start& st, double e0, double leadingZ, int tail, std::int32_t p) {
  const std::size_t K = kText.size();
  const std::size_t l = static_cast<std::size_t>(p) + 2;
  // beta bounds the complement's shortfall plus the cut, in grid steps.
  const double leadZ = leadingZ / 1e16 + 1e-9;
  const double leadK = Leading17(kText) / std::pow(10.0, static_cast<double>(std::min<std::size_t>(K, 17) - 1));
  const double beta0 = 1 + leadZ * std::pow(10.0, 3.0 - static_cast<double>(K));
  const double beta = 1 + leadZ * std::pow(10.0, 1.0 - static_cast<double>(K));
  // log10(k u*) = log10(leadK) + 1 - l.
  const double logKu = std::log10(leadK) + 1 - static_cast<double>(l);
  const double margin = 1e-9;
  double logE = std::log10(std::max(e0, 1e-300));
  const std::int32_t steps = FixedSteps(st.n, p) + 1;
  for (std::int32_t i = 0; i < steps; ++i) {
    const double logG = std::log10(i == 0 ? beta0 : beta) + logKu + margin;
    logE = Log10Sum(2 * logE, logG) + margin;
  }
  const double bound = std::pow(10.0, logE - logKu + margin);  // y - z_{s+1} <= bound * u*
  if (!(bound < 50)) return false;
  return tail + 1 >= static_cast<int>(std::ceil(bound));
}

// The direct path: Z by one exact division, taken only when the bound of the
// comment above proves that the iteration ends on the same first p digits.
std::optional<Reciprocal> Direct(const Natural& k, std::string_view kText, const Start& st, std::int32_t p) {
  if (p < kDirectMinDigits) return std::nullopt;
  const std::size_t K = kText.size();
  const std::size_t l = static_cast<std::size_t>(p) + 2;
  const std::optional<double> e0 = StartDistance(k, st);
  if (!e0) return std::nullopt;

  // Z = floor((10^(K+l-1) - 1) / k). A long divisor is first bracketed by
  // its leading digits: k lies in [kh, kh + 1) * 10^t.
  std::optional<Natural> Z;
  if (K > l + kDivisorGuardDigits) {
    const std::size_t H = l + kDivisorGuardDigits;
    const Natural kh = *Natural::FromDigits(kText.substr(0, H));
    Natural lo = DivideNines(H + l - 1, Add(kh, Natural(1)));
    Natural hi = DivideNines(H + l - 1, kh);
    if (lo == hi) Z = std::move(lo);
  }
  if (!Z) Z = DivideNines(K + l - 1, k);
  if (Z->DigitCount() != l) return std::nullopt;  // cannot happen for k >= 2; stay safe

  const int tail = static_cast<int>(Z->Limbs().front() % 100);  // Z mod 100, its last two digits
  if (!DirectBoundHolds(kText, st, *e0, Leading17(*Z), tail, p)) return std::nullopt;

  return Reciprocal{ShiftDecimalRight(*Z, 2),
                    static_cast<std::int32_t>(-(static_cast<std::int64_t>(p) + static_cast<std::int64_t>(K) - 1))};
}

__extension__ typedef unsigned __int128 U128;  // GCC and Clang both have it

// 10^e mod m.
std::uint64_t PowerOfTenModulo(std::size_t e, std::uint64_t m) {
  U128 result = 1 % m;
  U128 base = 10 % m;
  for (; e > 0; e >>= 1) {
    if (e & 1) result = result * base % m;
    base = base * base % m;
  }
  return static_cast<std::uint64_t>(result);
}

// The checks every entry shares. Returns the cleaned divisor (no leading
// zeros) or sets *early to the answer.
std::optional<std::string> PrepareInverse(std::string_view kBig, std::int32_t p, type_Division_Osrel* early) {
  if (!AllDigits(kBig)) {
    *early = {"#VALUE!", 0};
    return std::nullopt;
  }
  const std::size_t first = kBig.find_first_not_of('0');
  if (p < 1 || p > kMaxDivisionDigits) {
    *early = {"#NUM!", 0};
    return std::nullopt;
  }
  if (first == std::string_view::npos) {
    // A zero divisor has no reciprocal: the division's own answer.
    *early = {"#DIV/0!", 0};
    return std::nullopt;
  }
  std::string k(kBig.substr(first));
  if (k == "1") {
    *early = {"1", 0};
    return std::nullopt;
  }
  return k;
}

// The reciprocal of a cleaned divisor (no leading zeros, not 0 or 1).
Reciprocal InverseOf(const std::string& k, std::int32_t p) {
  const Natural kN = *Natural::FromDigits(k);
  const Start st = FindStart(kN, k);
  if (std::optional<Reciprocal> direct = Direct(kN, k, st, p)) {
    ++g_statistics.direct;
    return std::move(*direct);
  }
  ++g_statistics.iterated;
  return Iterate(kN, st, p);
}

// The quotient's digits and power of ten from the first p digits Q of the
// product of the dividend by the reciprocal (L0 the product's digit count):
// rounded half up to Precision digits by RoundToMaxSD, whose position moves
// right past zeros ending Q, then cut to Precision digits.
type_Division_Osrel QuotientFromLeadingDigits(const std::string& Q, std::int64_t L0, std::int32_t powerR,
                                              std::int32_t Precision) {
  std::int64_t eQ = powerR + L0 - std::min<std::int64_t>(Precision, L0);
  const std::size_t L = Q.size();
  std::string rounded = RoundToMaxSD(Q, Precision);
  if (rounded.size() == L + 1) ++eQ;
  if (eQ > INT32_MAX || eQ < INT32_MIN) return {"#NUM!", 0};
  rounded.resize(std::min<std::size_t>(rounded.size(), static_cast<std::size_t>(Precision)));
  return {std::move(rounded), static_cast<std::int32_t>(eQ)};
}

// 10^e mod m, m below 2^32.
std::uint64_t PowerOfTenMod(std::size_t e, std::uint32_t m) {
  std::uint64_t result = 1 % m;
  std::uint64_t base = 10 % m;
  for (; e > 0; e >>= 1) {
    if (e & 1) result = result * base % m;
    base = base * base % m;
  }
  return result;
}

// a * f for f below 10^18.
Natural MultiplyBelow1e18(const Natural& a, std::uint64_t f) {
  const Natural low = MultiplySmall(a, static_cast<std::uint32_t>(f % kLimbBase));
  if (f < kLimbBase) return low;
  return Add(low, ShiftLimbsLeft(MultiplySmall(a, static_cast<std::uint32_t>(f / kLimbBase)), 1));
}

// a = q * c + *remainder for c = 100 k (k below 2^32): one pass where c
// fits 32 bits, else two.
Natural DivideByHundredTimes(const Natural& a, std::uint32_t k, std::uint64_t* remainder) {
  if (k <= UINT32_MAX / 100) {
    std::uint32_t r = 0;
    Natural q = DivideSmall(a, 100 * k, &r);
    *remainder = r;
    return q;
  }
  std::uint32_t r1 = 0;
  std::uint32_t r2 = 0;
  const Natural q1 = DivideSmall(a, k, &r1);
  Natural q = DivideSmall(q1, 100, &r2);
  *remainder = static_cast<std::uint64_t>(r2) * k + r1;
  return q;
}

// The reciprocal of a small k at p digits on the direct path, described
// without forming it: N = 10^L - 1 with L = K + p + 1 (= K + l - 1),
// Z = floor(N / k) and R = floor(Z / 100) = floor(N / 100 k).
struct SmallReciprocal {
  bool direct = false;
  std::int32_t powerOfTen = 0;
  std::size_t L = 0;
  std::uint64_t rho = 0;  // N mod 100 k
};

SmallReciprocal DescribeReciprocal(std::uint32_t k, const std::string& kText, const Start& st, std::int32_t p) {
  SmallReciprocal r;
  const std::size_t K = kText.size();
  const std::size_t l = static_cast<std::size_t>(p) + 2;
  r.L = K + l - 1;
  r.powerOfTen = static_cast<std::int32_t>(-(static_cast<std::int64_t>(p) + static_cast<std::int64_t>(K) - 1));
  // 10^L mod 100 k = 100 (10^(L-2) mod k), as L >= 2.
  const std::uint64_t c = 100ULL * k;
  r.rho = (100 * PowerOfTenMod(r.L - 2, k) + c - 1) % c;
  if (p < kDirectMinDigits) return r;
  const std::optional<double> e0 = StartDistance(Natural(k), st);
  if (!e0) return r;
  // N mod 100 k = k (Z mod 100) + (N mod k).
  const std::uint64_t nModK = (PowerOfTenMod(r.L, k) + k - 1) % k;
  const auto tail = static_cast<int>((r.rho - nModK) / k);
  // The first 17 digits of Z are floor((10^(K+16) - 1) / k) (a floor of a
  // floor); Z has l digits for every k >= 2. A short Z is formed.
  double lead = 0;
  if (l <= 17) {
    const Natural Z = DivideNines(r.L, Natural(k));
    if (Z.DigitCount() != l) return r;
    lead = Leading17(Z);
  } else {
    const Natural first = DivideNines(K + 16, Natural(k));
    if (first.DigitCount() != 17) return r;
    lead = Leading17(first);
  }
  r.direct = DirectBoundHolds(kText, st, *e0, lead, tail, p);
  return r;
}

// floor(a * R / 10^(nA - 1)), R the direct path's reciprocal (nA the digits
// of a): the first p or p + 1 digits of the product, and the product's
// digit count, in linear time.
//
// With f = 1 + rho, c = 100 k: N = c R + rho, so a R = (a 10^L - a f) / c
// exactly. R has p digits, so a R has nA + p - 1 or nA + p digits (nA
// those of a); dropping t = nA - 1 leaves p or p + 1. With X = a 10^(L-t)
// - eh, eh = floor(a f / 10^t), el = a f mod 10^t and X = c Qx + rx,
//     floor(a R / 10^t) = floor((X - el / 10^t) / c) = Qx - [rx = 0 and el > 0],
// as el / 10^t lies in [0, 1). eh is read from the top limbs of a (a
// product of a few limbs bracketing it, exact but for a carry from below,
// which is then taken in full), and el > 0 unless a f has t trailing
// zeros, which needs a short a (below).
std::optional<Natural> LeadingDigitsClosedForm(const Natural& a, std::uint32_t k, const SmallReciprocal& R,
                                               std::size_t* digit_count) {
  const std::size_t nA = a.DigitCount();
  const std::size_t t = nA - 1;
  if (t > R.L) return std::nullopt;
  const std::uint64_t f = R.rho + 1;
  const std::vector<Limb>& limbs = a.Limbs();
  std::optional<Natural> eh;
  constexpr std::size_t kTopLimbs = 3;
  if (limbs.size() > kTopLimbs && f < (std::uint64_t{1} << 38)) {
    // u = (the top three limbs) f < 10^27 2^38 fits 128 bits; eh lies
    // between u and (u + f) over the power of ten of the digits below, as
    // the dropped limbs add less than f to u.
    const std::size_t dropped = 9 * (limbs.size() - kTopLimbs);
    const std::size_t n = limbs.size();
    const U128 top = (static_cast<U128>(limbs[n - 1]) * kLimbBase + limbs[n - 2]) * kLimbBase + limbs[n - 3];
    const U128 u = top * f;
    U128 scale = 1;
    for (std::size_t i = dropped; i < t; ++i) scale *= 10;
    const U128 lo = u / scale;
    if (lo == (u + f) / scale) eh = Natural(static_cast<std::uint64_t>(lo));  // lo < 10 f
  }
  if (!eh) eh = ShiftDecimalRight(MultiplyBelow1e18(a, f), t);
  // a = a' 10^z with a' not a multiple of 10. If 10^t divides a f, then
  // 10^(t-z) divides a' f; f < 2^39 holds at most 38 factors 2 and 16
  // factors 5, so from t - z >= 40 on a' would be a multiple of 10.
  const std::size_t z = TrailingZeroDigits(limbs);
  bool elPositive = true;
  if (t < z + 40) {
    const Natural e = MultiplyBelow1e18(ShiftDecimalRight(a, z), f);
    elPositive = TrailingZeroDigits(e.Limbs()) + z < t;
  }
  std::uint64_t rx = 0;
  Natural top = DivideByHundredTimes(Subtract(ShiftDecimalLeft(a, R.L - t), *eh), k, &rx);
  if (rx == 0 && elPositive) top = Subtract(top, Natural(1));
  *digit_count = t + top.DigitCount();
  return top;
}

// Osrel_Divide's rounding of Q, the first p = Precision + 3 digits of the
// product, on limbs; Q is the first p of the digits of `top` (which has p
// or p + 1). RoundToMaxSD on Q's digit text moves its rounding position
// right past the zeros ending Q, and the result is then cut to Precision
// digits: with x, y, z the last three digits of Q, the first Precision
// digits go up by one when z > 0 and x >= 5 (rounding at x), or when z = 0,
// y > 0, y >= 5 and x = 9 (rounding at y carries through x); never when Q
// ends in two zeros or more. A carry to a new digit raises the power of
// ten.
SmallQuotient RoundLeadingDigits(const Natural& top, std::size_t p, std::int64_t L0, std::int32_t powerR,
                                 std::int32_t Precision) {
  std::int64_t eQ = powerR + L0 - std::min<std::int64_t>(Precision, L0);
  const std::size_t extra = top.DigitCount() - p;  // 0 or 1
  const std::uint32_t last = top.Limbs().front() % (extra == 0 ? 1000 : 10000) / (extra == 0 ? 1 : 10);
  const std::uint32_t x = last / 100;
  const std::uint32_t y = last / 10 % 10;
  const std::uint32_t z = last % 10;
  Natural head = ShiftDecimalRight(top, extra + 3);
  const bool up = z != 0 ? x >= 5 : (y >= 5 && x == 9);
  if (up) {
    head = Add(head, Natural(1));
    if (head.DigitCount() > static_cast<std::size_t>(Precision)) {
      head = ShiftDecimalRight(head, 1);
      ++eQ;
    }
  }
  SmallQuotient out;
  if (eQ > INT32_MAX || eQ < INT32_MIN) {
    out.error = "#NUM!";
    return out;
  }
  out.digits = std::move(head);
  out.powerOfTen = static_cast<std::int32_t>(eQ);
  return out;
}

// ---------------------------------------------------------------------------
// Short divisors
//
// A divisor of at most nine digits (one limb) is what the iterations divide by
// again and again (the square root halves every iterate, the series divide by
// small whole numbers). Two things make such a division cheap without
// changing a digit:
//
// 1. The reciprocal is a function of (k, p) alone, so the last few are kept
//    and handed out again (for k = 2 the start 0.5 is 1/k itself, which the
//    direct path refuses, and the literal iteration costs several products).
// 2. The product i * R, R the p digits of the reciprocal, is exact in linear
//    time. With m = p + K - 1 (K the divisor's digits), R is within a few
//    units of 10^m / k (the iteration climbs to the largest l-digit point
//    below 1/k, and keeps its first p digits), so c = 10^m - R k is a small
//    non-negative number and
//        i R = (i 10^m - i c) / k,
//    a shift, a product by a small factor, a subtraction and a division by k
//    that leaves no remainder. Where c is not small (never seen; checked
//    every time) the long product is formed instead.
// ---------------------------------------------------------------------------

constexpr std::size_t kShortDivisorDigits = 9;
// Below this many limbs in the dividend the long product is as cheap.
constexpr std::size_t kShortDivisorMinLimbs = 4;

struct CachedReciprocal {
  std::string k;
  std::int32_t p = 0;
  Reciprocal r;
};

const Reciprocal& ShortInverseOf(const std::string& k, std::int32_t p) {
  thread_local std::vector<CachedReciprocal> cache;
  for (const CachedReciprocal& c : cache) {
    if (c.p == p && c.k == k) return c.r;
  }
  if (cache.size() >= 8) cache.erase(cache.begin());
  cache.push_back({k, p, InverseOf(k, p)});
  return cache.back().r;
}

// The first min(count, D) digits of i * R and D, for R the reciprocal of the
// short divisor k to p digits; nullopt when c above is not small.
std::optional<Natural> LeadingDigitsOfShortQuotient(const Natural& i, const Natural& R, std::uint32_t k,
                                                    std::size_t K, std::int32_t p, std::size_t count,
                                                    std::size_t* digit_count) {
  const std::size_t m = static_cast<std::size_t>(p) + K - 1;
  const Natural tenM = ShiftDecimalLeft(Natural(1), m);
  const Natural Rk = MultiplySmall(R, k);
  if (Compare(Rk, tenM) > 0) return std::nullopt;
  const Natural c = Subtract(tenM, Rk);
  if (c.LimbCount() > 1) return std::nullopt;
  const std::uint32_t small = c.IsZero() ? 0 : c.Limbs()[0];
  std::uint32_t remainder = 0;
  const Natural product = DivideSmall(Subtract(ShiftDecimalLeft(i, m), MultiplySmall(i, small)), k, &remainder);
  if (remainder != 0) return std::nullopt;  // cannot happen: i (10^m - c) = i R k
  const std::size_t D = product.DigitCount();
  *digit_count = D;
  return D > count ? ShiftDecimalRight(product, D - count) : product;
}

// The reciprocals of divisors below 2^32 met by Osrel_DivideSmall, by
// divisor and precision: a series divides by the same few thousand numbers
// at one precision call after call, and deciding the direct path (or
// running the iteration where it is not taken) costs more than a short
// division.
struct SmallReciprocalEntry {
  SmallReciprocal described;
  std::optional<Reciprocal> iterated;  // where the direct path is not taken
};

const SmallReciprocalEntry& SmallReciprocalOf(std::uint32_t k, std::int32_t p) {
  constexpr std::size_t kMaxEntries = 1 << 16;
  constexpr std::size_t kMaxIteratedLimbs = 1 << 20;  // about 9.4 million digits
  thread_local std::unordered_map<std::uint64_t, SmallReciprocalEntry> cache;
  thread_local std::size_t iteratedLimbs = 0;
  const std::uint64_t key = (static_cast<std::uint64_t>(k) << 32) | static_cast<std::uint32_t>(p);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  if (cache.size() >= kMaxEntries || iteratedLimbs >= kMaxIteratedLimbs) {
    cache.clear();
    iteratedLimbs = 0;
  }
  const std::string kText = std::to_string(k);
  const Start st = FindStart(Natural(k), kText);
  SmallReciprocalEntry entry;
  entry.described = DescribeReciprocal(k, kText, st, p);
  if (!entry.described.direct) {
    entry.iterated = Iterate(Natural(k), st, p);
    iteratedLimbs += entry.iterated->digits.LimbCount();
  }
  return cache.emplace(key, std::move(entry)).first->second;
}

}  // namespace

InverseStatistics GetInverseStatistics() { return g_statistics; }

type_Division_Osrel myInverse5(std::string_view kBig, std::int32_t p) {
  type_Division_Osrel early;
  const std::optional<std::string> k = PrepareInverse(kBig, p, &early);
  if (!k) return early;
  try {
    Reciprocal r = InverseOf(*k, p);
    return {r.digits.ToDigits(), r.powerOfTen};
  } catch (const std::exception&) {  // out of memory
    return {"#VALUE!", 0};
  }
}

type_Division_Osrel myInverse5_Iterate(std::string_view kBig, std::int32_t p) {
  type_Division_Osrel early;
  const std::optional<std::string> k = PrepareInverse(kBig, p, &early);
  if (!k) return early;
  try {
    const Natural kN = *Natural::FromDigits(*k);
    Reciprocal r = Iterate(kN, FindStart(kN, *k), p);
    return {r.digits.ToDigits(), r.powerOfTen};
  } catch (const std::exception&) {
    return {"#VALUE!", 0};
  }
}

bool InverseIsDirect(std::uint32_t k, std::int32_t p) {
  if (k < 2 || p < kDirectMinDigits || p > kMaxDivisionDigits) return false;
  const std::string kText = std::to_string(k);
  const Natural kN(k);
  const Start st = FindStart(kN, kText);
  const std::optional<double> e0 = StartDistance(kN, st);
  if (!e0) return false;
  // Z = floor(M / k), M = 10^(K+l-1) - 1, has l digits. Its last two:
  // with M = k Z + m, Z mod 100 = ((M mod 100k) - m) / k.
  const std::size_t K = kText.size();
  const std::size_t l = static_cast<std::size_t>(p) + 2;
  const std::uint64_t m100 = 100 * static_cast<std::uint64_t>(k);
  const std::uint64_t M100 = (PowerOfTenModulo(K + l - 1, m100) + m100 - 1) % m100;
  const auto tail = static_cast<int>((M100 - M100 % k) / k);
  // Its first 17 digits (all of it when shorter):
  // floor(M / (k 10^(l-17))) = floor((10^(K+16) - 10^(17-l)) / k).
  U128 lead = 0;
  if (l >= 17) {
    U128 x = 1;
    for (std::size_t i = 0; i < K + 16; ++i) x *= 10;
    lead = x / k - (x % k == 0 ? 1 : 0);
  } else {
    U128 x = 1;
    for (std::size_t i = 0; i < K + l - 1; ++i) x *= 10;
    lead = (x - 1) / k;
  }
  return DirectBoundHolds(kText, st, *e0, static_cast<double>(static_cast<std::uint64_t>(lead)), tail, p);
}

type_Division_Osrel Osrel_Divide(std::string& iBig, std::string& kBig, std::int32_t Precision) {
  type_CleanUp a = CleanUp(iBig, false, false);
  if (a.IsError) return {a.NumClean, 0};
  iBig = a.NumClean;
  type_CleanUp b = CleanUp(kBig, false, false);
  if (b.IsError) return {b.NumClean, 0};
  kBig = b.NumClean;

  // A cleaned divisor is a plain digit string: zero is exactly "0".
  if (kBig == "0") return {"#DIV/0!", 0};
  if (iBig.front() == '0') return {"0", 0};
  if (kBig == "1") return {iBig, 0};
  if (kBig == iBig) return {"1", 0};
  if (Precision < 1 || Precision > kMaxDivisionDigits - 3) return {"#NUM!", 0};

  const std::int32_t p = Precision + 3;
  type_Division_Osrel early;
  const std::optional<std::string> k = PrepareInverse(kBig, p, &early);
  if (!k) return {early.digits, 0};  // cannot happen: kBig is a cleaned digit string above 1
  std::string Q;
  std::int32_t powerR = 0;
  std::int64_t L0 = 0;
  try {
    const bool shortDivisor = k->size() <= kShortDivisorDigits;
    const Reciprocal fresh = shortDivisor ? Reciprocal{} : InverseOf(*k, p);
    const Reciprocal& R = shortDivisor ? ShortInverseOf(*k, p) : fresh;
    powerR = R.powerOfTen;
    // Q = iBig * R; only its first p digits are read.
    std::size_t productDigits = 0;
    const Natural dividend = *Natural::FromDigits(iBig);
    std::optional<Natural> leading;
    if (shortDivisor && dividend.LimbCount() >= kShortDivisorMinLimbs) {
      leading = LeadingDigitsOfShortQuotient(dividend, R.digits, static_cast<std::uint32_t>(std::stoul(*k)),
                                             k->size(), p, static_cast<std::size_t>(p), &productDigits);
    }
    if (!leading) leading = LeadingDigitsOfProduct(dividend, R.digits, static_cast<std::size_t>(p), &productDigits);
    Q = leading->ToDigits();
    L0 = static_cast<std::int64_t>(productDigits);
  } catch (const std::exception&) {
    return {"#VALUE!", 0};
  }
  return QuotientFromLeadingDigits(Q, L0, powerR, Precision);
}

SmallQuotient Osrel_DivideSmallDigits(const Natural& a, std::uint32_t k, std::int32_t Precision) {
  SmallQuotient out;
  auto fromText = [&out](type_Division_Osrel q) {
    if (HasError(q.digits)) {
      out.error = std::move(q.digits);
    } else {
      out.digits = *Natural::FromDigits(q.digits);
      out.powerOfTen = q.powerOfTen;
    }
    return out;
  };
  // A dividend CleanUp would round goes the string way; the early answers
  // are Osrel_Divide's.
  if (a.DigitCount() >= static_cast<std::size_t>(kCleanUpDigits)) {
    std::string iBig = a.ToDigits();
    std::string kBig = std::to_string(k);
    return fromText(Osrel_Divide(iBig, kBig, Precision));
  }
  if (k == 0) return fromText({"#DIV/0!", 0});
  if (a.IsZero()) return out;
  if (k == 1) {
    out.digits = a;
    return out;
  }
  const std::vector<Limb>& limbs = a.Limbs();
  const std::uint64_t value = limbs.size() == 1   ? limbs[0]
                              : limbs.size() == 2 ? limbs[1] * std::uint64_t{kLimbBase} + limbs[0]
                                                  : UINT64_MAX;
  if (value == k) {
    out.digits = Natural(1);
    return out;
  }
  if (Precision < 1 || Precision > kMaxDivisionDigits - 3) return fromText({"#NUM!", 0});

  const std::int32_t p = Precision + 3;
  try {
    const SmallReciprocalEntry& cached = SmallReciprocalOf(k, p);
    const SmallReciprocal& R = cached.described;
    if (R.direct) {
      ++g_statistics.direct;
      std::size_t L0 = 0;
      const auto P = static_cast<std::size_t>(p);
      if (std::optional<Natural> top = LeadingDigitsClosedForm(a, k, R, &L0)) {
        const std::size_t digits = top->DigitCount();
        if (digits == P || digits == P + 1) {
          return RoundLeadingDigits(*top, P, static_cast<std::int64_t>(L0), R.powerOfTen, Precision);
        }
      }
      const Natural reciprocal = ShiftDecimalRight(DivideNines(R.L, Natural(k)), 2);
      const Natural Q = LeadingDigitsOfProduct(a, reciprocal, static_cast<std::size_t>(p), &L0);
      return fromText(QuotientFromLeadingDigits(Q.ToDigits(), static_cast<std::int64_t>(L0), R.powerOfTen, Precision));
    }
    ++g_statistics.iterated;
    const Reciprocal& R2 = *cached.iterated;
    std::size_t L0 = 0;
    const Natural Q = LeadingDigitsOfProduct(a, R2.digits, static_cast<std::size_t>(p), &L0);
    return fromText(QuotientFromLeadingDigits(Q.ToDigits(), static_cast<std::int64_t>(L0), R2.powerOfTen, Precision));
  } catch (const std::exception&) {
    return fromText({"#VALUE!", 0});
  }
}

type_Division_Osrel Osrel_DivideSmall(const Natural& a, std::uint32_t k, std::int32_t Precision) {
  SmallQuotient q = Osrel_DivideSmallDigits(a, k, Precision);
  if (!q.error.empty()) return {std::move(q.error), 0};
  return {q.digits.ToDigits(), q.powerOfTen};
}


// ---------------------------------------------------------------------------

std::string RoundToMaxSD(std::string_view input, double maxSD) {
  if (!(maxSD >= 1)) return "0";
  if (IsErrorText(input)) return std::string(input);
  // The quotient's digits come here plain: copy them once, and remove or
  // expand only what the text holds.
  const std::string symbol = GetCurrencySymbol().Symbol;
  const std::string thousands = GetThousandsSeparator();
  std::string t = (!symbol.empty() && input.find(symbol) != std::string_view::npos) ||
                          (!thousands.empty() && input.find(thousands) != std::string_view::npos)
                      ? RemoveThousandsSeparators(RemoveCurrencySymbol(input))
                      : std::string(input);
  // Without an exponent or parentheses the expansion gives the text back.
  if (t.find('E') != std::string::npos || (!t.empty() && t.front() == '(')) t = ExpandExponent(t);
  const char sep = GetDecimalSeparator();
  // Only a number is rounded: an optional "-", digits and one separator.
  {
    std::size_t i = !t.empty() && t.front() == '-' ? 1 : 0;
    bool seenSep = false;
    for (; i < t.size(); ++i) {
      if (t[i] >= '0' && t[i] <= '9') continue;
      if (t[i] == sep && !seenSep) {
        seenSep = true;
        continue;
      }
      return "";
    }
  }
  const bool hasSep = t.find(sep) != std::string::npos;
  if (hasSep) {
    while (!t.empty() && t.back() == '0') t.pop_back();
  }
  // Leading zeros go while the next character is not the separator.
  auto stripLeading = [&t, sep]() {
    std::size_t n = 0;
    while (n < t.size() && t[n] == '0' && !(n + 1 < t.size() && t[n + 1] == sep)) ++n;
    t.erase(0, n);
  };
  stripLeading();
  if (t.empty() || (t.size() == 1 && t[0] == sep)) return "0";

  const std::size_t sAt = t.find(sep);
  const double s = sAt == std::string::npos ? 0 : static_cast<double>(sAt + 1);
  double r = std::nearbyint(maxSD) + 1;
  if (s != 0 && s <= r) r += 1;
  if (s == 0) {
    const std::size_t lastNonZero = t.find_last_not_of('0');
    r += static_cast<double>(t.size() - 1 - lastNonZero);
  }
  if (static_cast<double>(t.size()) < r) {
    if (t.back() == sep) t.pop_back();
    return t;
  }
  const std::size_t at = static_cast<std::size_t>(r) - 1;  // 0-based index of the deciding digit
  if (t[at] < '0' || t[at] > '9') return "";
  if (t[at] < '5') {
    for (std::size_t i = at; i < t.size(); ++i) {
      if (t[i] != sep) t[i] = '0';
    }
  } else {
    for (std::size_t i = at; i < t.size(); ++i) {
      if (t[i] != sep) t[i] = '0';
    }
    std::size_t i = at;
    bool carried = true;
    while (i > 0) {
      --i;
      if (t[i] == sep) continue;
      if (t[i] == '9') {
        t[i] = '0';
        continue;
      }
      if (t[i] >= '0' && t[i] <= '8') {
        ++t[i];
        carried = false;
      }
      break;  // a digit below 9 took the unit, or the sign was reached
    }
    if (carried) t.insert(t.front() == '-' ? 1 : 0, 1, '1');
  }
  if (t.find(sep) != std::string::npos) {
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == sep) t.pop_back();
  }
  stripLeading();
  if (!t.empty() && t.back() == sep) t.pop_back();
  // Everything rounded away is zero (the empty text is kept for failures).
  if (t.empty() || t == "-") return "0";
  return t;
}

double DivisionDecimalPosition(std::string_view divisor, std::string_view dividend) {
  if (CompareDigitStrings(dividend, divisor, false, true)) {
    double r = static_cast<double>(dividend.size()) - static_cast<double>(divisor.size());
    if (CompareDigitStrings(dividend.substr(0, divisor.size()), divisor, true, true)) r += 1;
    return r;
  }
  if (dividend.size() > divisor.size()) return 0;
  return CompareDigitStrings(dividend, divisor, true, true) ? 1 : 0;
}

std::int32_t GetHalfofLong(std::int32_t num_as_long) {
  return static_cast<std::int32_t>(std::floor(static_cast<double>(num_as_long) / 2));
}

namespace {

// -1, 0 or 1; nullopt when the two cannot be compared.
std::optional<int> CompareValues(const Value& a, const Value& b) {
  auto numeric = [](const Value& v) -> std::optional<double> {
    if (v.isNumber()) return v.number();
    if (v.isBool()) return v.boolean() ? -1.0 : 0.0;
    if (v.isEmpty() || v.isOmitted()) return 0.0;
    return std::nullopt;
  };
  if (a.isError() || b.isError() || a.isArray() || b.isArray()) return std::nullopt;
  const std::optional<double> x = numeric(a);
  const std::optional<double> y = numeric(b);
  if (x && y) return *x < *y ? -1 : (*x > *y ? 1 : 0);
  if (x) return -1;  // a number is smaller than any text
  if (y) return 1;
  const int c = a.text().compare(b.text());
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

Value Min(const Value& num1, const Value& num2) {
  const std::optional<int> c = CompareValues(num1, num2);
  if (!c) return Value::Error(HostError::Value);
  return *c < 0 ? num1 : num2;
}

Value Max(const Value& num1, const Value& num2) {
  const std::optional<int> c = CompareValues(num1, num2);
  if (!c) return Value::Error(HostError::Value);
  return *c > 0 ? num1 : num2;
}

}  // namespace decimora::engine
