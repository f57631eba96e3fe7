// Exact division of naturals with remainder: schoolbook long division for
// short divisors, a Newton reciprocal with fast multiplication for long ones.

#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <vector>

#include "engine/natural.h"
#include "engine/natural_kernels.h"
#include "engine/tuning.h"

namespace decimora::engine {

namespace {

Natural PowerOfBase(std::size_t limbs) { return ShiftLimbsLeft(Natural(1), limbs); }

DivisionResult DivideByLimb(const Natural& a, Limb divisor) {
  std::uint32_t rem = 0;
  Natural q = DivideSmall(a, divisor, &rem);
  return {std::move(q), Natural(rem)};
}

// q := floor(u / v), r := u mod v, for v of n >= 2 limbs and u >= v.
// Knuth's algorithm D in base 10^9: both operands scaled by
// d = floor(B / (v[n-1] + 1)) so the divisor's top limb is at least B/2, each
// quotient limb estimated from the top two limbs of the partial remainder,
// corrected with the next divisor limb, and at most once more by adding back.
DivisionResult KnuthDivide(const Natural& a, const Natural& b) {
  const std::size_t n = b.LimbCount();
  assert(n >= 2 && a.LimbCount() >= n);  // one-limb divisors take DivideByLimb
  const Limb d = kLimbBase / (b.Limbs().back() + 1);
  std::vector<Limb> un = MultiplySmall(a, d).Limbs();
  const std::vector<Limb> vn = MultiplySmall(b, d).Limbs();
  const std::size_t m = a.LimbCount();
  un.resize(m + 1, 0);  // the scaled dividend may gain a limb
  const std::uint64_t v1 = vn[n - 1];
  const std::uint64_t v2 = vn[n - 2];
  std::vector<Limb> q(m - n + 1, 0);

  for (std::size_t j = m - n + 1; j-- > 0;) {
    const std::uint64_t num = std::uint64_t{un[j + n]} * kLimbBase + un[j + n - 1];
    std::uint64_t qhat = num / v1;
    std::uint64_t rhat = num % v1;
    while (qhat >= kLimbBase || qhat * v2 > rhat * kLimbBase + un[j + n - 2]) {
      --qhat;
      rhat += v1;
      if (rhat >= kLimbBase) break;
    }
    // un[j..j+n] -= qhat * vn. Each product is split into its low limb and
    // its high part independently of the others, so the only serial chain
    // is a short subtraction whose borrow (0, 1 or 2) needs no division:
    // t >= -(B - 1) - (B - 1) - 2 = -2B.
    constexpr std::int64_t kBase = kLimbBase;
    std::uint64_t prevHigh = 0;
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t p = qhat * vn[i];
      const std::uint64_t high = p / kLimbBase;
      const std::uint64_t low = p - high * kLimbBase;
      const std::int64_t d = static_cast<std::int64_t>(un[i + j]) - static_cast<std::int64_t>(low) -
                             static_cast<std::int64_t>(prevHigh);
      const std::int64_t t = d - borrow;
      const std::int64_t below0 = t >> 63;             // -1 when t < 0
      const std::int64_t belowMinusB = (t + kBase) >> 63;  // -1 when t < -B
      borrow = -(below0 + belowMinusB);
      un[i + j] = static_cast<Limb>(t + (kBase & below0) + (kBase & belowMinusB));
      prevHigh = high;
    }
    const std::uint64_t top_sub = prevHigh + static_cast<std::uint64_t>(borrow);
    if (un[j + n] < top_sub) {
      // qhat was one too large: add the divisor back; the carry out of the
      // addition cancels the borrow out of the top limb.
      --qhat;
      un[j + n] = static_cast<Limb>(un[j + n] + kLimbBase - top_sub);
      kernels::add_into(un.data() + j, n + 1, vn.data(), n);
      un[j + n] = 0;
    } else {
      un[j + n] = static_cast<Limb>(un[j + n] - top_sub);
    }
    q[j] = static_cast<Limb>(qhat);
  }
  un.resize(n);
  Natural r = DivideSmall(Natural::FromLimbs(std::move(un)), d);
  return {Natural::FromLimbs(std::move(q)), std::move(r)};
}

// X ~ B^(2t) / v for v of exactly t limbs with top limb >= B/2 (so
// B^t < X <= 2 B^t), within a few units.
//
// Newton's iteration X' = X + X (B^(2t) - v X) / B^(2t), doubling the
// precision: the reciprocal of v's top h = t/2 + 2 limbs, lifted by
// B^(t-h), has relative error about B^-(h-1); one step squares that, below
// B^-t. Only the top h+1 limbs of the (small) residual matter.
Natural Reciprocal(const Natural& v, std::size_t t) {
  if (t <= tuning::kReciprocalBaseLimbs) return KnuthDivide(PowerOfBase(2 * t), v).quotient;
  const std::size_t h = t / 2 + 2;
  const Natural xh = Reciprocal(ShiftLimbsRight(v, t - h), h);
  // v X0 = (v xh) B^(t-h), so B^(2t) - v X0 = (B^(t+h) - v xh) B^(t-h).
  const Natural p = Multiply(v, xh);
  const Natural unit = PowerOfBase(t + h);
  const Natural x0 = ShiftLimbsLeft(xh, t - h);
  const int c = Compare(p, unit);
  if (c == 0) return x0;
  const Natural e = c < 0 ? Subtract(unit, p) : Subtract(p, unit);
  // X0 |e| B^(t-h) / B^(2t) = xh |e| / B^(2h); dropping the low h-1 limbs
  // of e costs less than 2/B.
  const std::size_t drop = h - 1;
  const Natural correction = ShiftLimbsRight(Multiply(xh, ShiftLimbsRight(e, drop)), 2 * h - drop);
  return c < 0 ? Add(x0, correction) : Subtract(x0, correction);
}

// The exact quotient and remainder of a by v from an estimate q that is off
// by a few units either way.
DivisionResult CorrectQuotient(Natural q, const Natural& a, const Natural& v) {
  Natural product = Multiply(q, v);
  const Natural one(1);
  while (Compare(product, a) > 0) {
    q = Subtract(q, one);
    product = Subtract(product, v);
  }
  Natural r = Subtract(a, product);
  while (Compare(r, v) >= 0) {
    q = Add(q, one);
    r = Subtract(r, v);
  }
  return {std::move(q), std::move(r)};
}

// Exact quotient and remainder of a by v, given x ~ B^(2t) / v' where v' is
// v cut or extended to t limbs, and a < v B^(t-2). The estimate from the
// top t+2 limbs of a is off by at most a couple of units; the final
// comparisons make it exact whatever the estimate.
DivisionResult QuotientStep(const Natural& a, const Natural& v, const Natural& x, std::size_t t) {
  const std::size_t n = v.LimbCount();
  const std::size_t m = a.LimbCount();
  const std::size_t e = n + t;  // a / v ~ a x / B^(n+t)
  const std::size_t drop = m > t + 2 ? m - (t + 2) : 0;
  return CorrectQuotient(ShiftLimbsRight(Multiply(ShiftLimbsRight(a, drop), x), e - drop), a, v);
}

// floor(u / v) for DivideNines, from an estimate q at most 2 units off
// (see there), with only the lower half of the product q v.
//
// With m = n + 1 limbs (n those of v): |u - q v| <= 3 v < 3 B^n < B^m / 2,
// so u - q v is the one residue of (u - q v) mod B^m in (-B^m/2, B^m/2),
// and that residue needs only the products of q v below column m. Then q
// moves by units until the remainder lies in [0, v), as CorrectQuotient
// does. More than a few steps would mean the estimate is not what the
// bound says: then the full product decides.
Natural CorrectNinesQuotient(Natural q, const Natural& u, const Natural& v) {
  const std::size_t n = v.LimbCount();
  const std::size_t m = n + 1;
  if (q.IsZero() || n < 2) return CorrectQuotient(std::move(q), u, v).quotient;
  std::vector<Limb> low(m);
  if (n < tuning::kKaratsubaThreshold) {
    kernels::multiply_schoolbook_low(q.Limbs().data(), q.LimbCount(), v.Limbs().data(), n, low.data(), m);
  } else {
    // Long operands: the low columns of the whole fast product are the same
    // limbs, for a fraction of the schoolbook's n^2 / 2 limb products.
    const Natural full = Multiply(q, v);
    std::copy_n(full.Limbs().begin(), std::min(m, full.LimbCount()), low.begin());
  }
  std::vector<Limb> r(m, 0);
  std::copy_n(u.Limbs().begin(), std::min(m, u.LimbCount()), r.begin());
  kernels::sub_into(r.data(), m, low.data(), m);  // mod B^m: a borrow out wraps around
  const bool negative = r[m - 1] >= kLimbBase / 2;
  Natural rest = Natural::FromLimbs(std::move(r));
  constexpr int kMaxSteps = 8;
  const Natural one(1);
  if (!negative) {
    for (int step = 0; Compare(rest, v) >= 0; ++step) {
      if (step == kMaxSteps) return CorrectQuotient(std::move(q), u, v).quotient;
      q = Add(q, one);
      rest = Subtract(rest, v);
    }
    return q;
  }
  // The remainder is -(B^m - rest): take units off q until it is not.
  Natural missing = Subtract(PowerOfBase(m), rest);
  for (int step = 0; !missing.IsZero(); ++step) {
    if (step == kMaxSteps) return CorrectQuotient(std::move(q), u, v).quotient;
    q = Subtract(q, one);
    missing = Compare(missing, v) <= 0 ? Natural() : Subtract(missing, v);
  }
  return q;
}

Natural ToLength(const Natural& v, std::size_t t) {
  const std::size_t n = v.LimbCount();
  return t >= n ? ShiftLimbsLeft(v, t - n) : ShiftLimbsRight(v, n - t);
}

}  // namespace

DivisionResult divide_schoolbook(const Natural& a, const Natural& b) {
  if (b.IsZero()) throw std::domain_error("Divide: division by zero");
  if (Compare(a, b) < 0) return {Natural(), a};
  if (b.LimbCount() == 1) return DivideByLimb(a, b.Limbs()[0]);
  return KnuthDivide(a, b);
}

DivisionResult divide_newton(const Natural& a, const Natural& b) {
  if (b.IsZero()) throw std::domain_error("Divide: division by zero");
  if (Compare(a, b) < 0) return {Natural(), a};
  if (b.LimbCount() == 1) return DivideByLimb(a, b.Limbs()[0]);
  // Scale as in long division so the divisor's top limb is at least B/2;
  // the quotient is unchanged and the remainder comes back divided by d.
  const Limb d = kLimbBase / (b.Limbs().back() + 1);
  const Natural u = MultiplySmall(a, d);
  const Natural v = MultiplySmall(b, d);
  const std::size_t n = v.LimbCount();
  const std::size_t m = u.LimbCount();
  const std::size_t k = m - n + 1;  // quotient limbs, at most

  if (k <= n) {
    const std::size_t t = k + 2;
    const Natural x = Reciprocal(ToLength(v, t), t);
    DivisionResult result = QuotientStep(u, v, x, t);
    result.remainder = DivideSmall(result.remainder, d);
    return result;
  }
  // A quotient longer than the divisor: one reciprocal, then n quotient
  // limbs at a time from the top, as in long division with limbs of B^n.
  const std::size_t t = n + 2;
  const Natural x = Reciprocal(ShiftLimbsLeft(v, 2), t);
  const std::size_t blocks = (m + n - 1) / n;
  std::vector<Limb> q(m, 0);
  Natural r;
  for (std::size_t blk = blocks; blk-- > 0;) {
    const std::size_t low = blk * n;
    const std::size_t size = blk + 1 == blocks ? m - low : n;
    std::vector<Limb> cur(u.Limbs().begin() + static_cast<std::ptrdiff_t>(low),
                          u.Limbs().begin() + static_cast<std::ptrdiff_t>(low + size));
    cur.insert(cur.end(), r.Limbs().begin(), r.Limbs().end());
    DivisionResult step = QuotientStep(Natural::FromLimbs(std::move(cur)), v, x, t);
    std::copy(step.quotient.Limbs().begin(), step.quotient.Limbs().end(),
              q.begin() + static_cast<std::ptrdiff_t>(low));
    r = std::move(step.remainder);
  }
  return {Natural::FromLimbs(std::move(q)), DivideSmall(r, d)};
}

Natural DivideNines(std::size_t digits, const Natural& b) {
  if (b.IsZero()) throw std::domain_error("DivideNines: division by zero");
  const Natural a = Subtract(ShiftDecimalLeft(Natural(1), digits), Natural(1));
  if (Compare(a, b) < 0) return Natural();
  const std::size_t n = b.LimbCount();
  // Long division costs about k n limb products for k quotient limbs; the
  // reciprocal below pays off once the divisor is long and the quotient not
  // much longer than the divisor (the reciprocal is taken to k + 2 limbs).
  if (n < tuning::kNewtonDivisionThreshold / 2 || a.LimbCount() > 2 * n + 1) return Divide(a, b).quotient;

  // As in divide_newton, but the dividend is d (10^N - 1) with d the scaling
  // factor, so the estimate a x / B^(n+t) needs no long product: it is taken
  // from d 10^N, which is larger by only d, i.e. less than one unit of the
  // quotient. The comparisons below make the result exact.
  //
  // How far the estimate can be off. Reciprocal gives x with
  // |x - B^(2t)/v'| < 2 for v' = v cut or extended to t limbs (by induction:
  // the base case is a floor; a Newton step from xh, within 2 of B^(2h)/vh,
  // has relative residual |eps| < 4/B^h, undershoots B^(2t)/v' by at most
  // 2 B^t eps^2 < 32/B^3 since 2h >= t + 3, and the truncated correction
  // costs less than 1 + 2/B). The estimate is floor(x d 10^N / B^(n+t));
  // the real number inside differs from u/v = d(10^N - 1)/v by d/v = 1/b
  // <= 1/2, plus 2 d 10^N/B^(n+t) < 2/B^3 from x's error, plus at most
  // (u/v) 2/B^t < 2/B^2 when v' is v cut short. So the estimate is within
  // 1 of floor(u/v) (CorrectNinesQuotient allows 2).
  const Limb d = kLimbBase / (b.Limbs().back() + 1);
  const Natural v = MultiplySmall(b, d);
  const Natural u = MultiplySmall(a, d);
  const std::size_t k = u.LimbCount() - n + 1;  // quotient limbs, at most
  const std::size_t t = k + 2;
  const Natural x = Reciprocal(ToLength(v, t), t);
  const std::size_t wholeLimbs = digits / kLimbDigits;  // 10^N = B^wholeLimbs 10^rest
  std::uint32_t scale = 1;
  for (std::size_t i = 0; i < digits % kLimbDigits; ++i) scale *= 10;
  return CorrectNinesQuotient(ShiftLimbsRight(MultiplySmall(MultiplySmall(x, d), scale), n + t - wholeLimbs), u, v);
}

DivisionResult Divide(const Natural& a, const Natural& b) {
  if (b.IsZero()) throw std::domain_error("Divide: division by zero");
  if (Compare(a, b) < 0) return {Natural(), a};
  const std::size_t n = b.LimbCount();
  const std::size_t k = a.LimbCount() - n + 1;
  // Long division costs about k n limb products; the reciprocal pays off
  // only when both the divisor and the quotient are long.
  if (n < tuning::kNewtonDivisionThreshold || k < tuning::kNewtonDivisionThreshold) {
    return divide_schoolbook(a, b);
  }
  return divide_newton(a, b);
}

}  // namespace decimora::engine
