// Exact multiplication of naturals: schoolbook, Karatsuba and a three-prime
// number-theoretic transform, with the dispatcher that picks among them.

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "engine/natural.h"
#include "engine/natural_kernels.h"
#include "engine/tuning.h"

namespace decimora::engine {

namespace kernels {

namespace {

// Rows summed into the 64-bit columns between two carry passes: a column
// below 10^9 after a pass (or a pending carry below 2 * 10^10) plus 16
// products below 10^18 stays below 2^64.
constexpr std::size_t kRowsPerCarryPass = 16;

}  // namespace

// Built twice, for AVX2 and for any x86-64, and chosen when the program
// loads: the column sums vectorise four products to an instruction with
// AVX2 against two with the baseline's SSE2.
DECIMORA_VECTOR_CLONES
void multiply_schoolbook(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w) {
  assert(un >= 1 && vn >= 1 && Disjoint(w, un + vn, u, un) && Disjoint(w, un + vn, v, vn));
  if (un < vn) {
    std::swap(u, v);
    std::swap(un, vn);
  }
  const std::size_t n = un + vn;
  std::array<std::uint64_t, 256> small;
  std::vector<std::uint64_t> large;
  std::uint64_t* acc = small.data();
  if (n > small.size()) {
    large.resize(n);
    acc = large.data();
  }
  std::fill_n(acc, n, std::uint64_t{0});

  std::size_t block_start = 0;
  for (std::size_t i = 0; i < vn; ++i) {
    const std::uint64_t vi = v[i];
    std::uint64_t* col = acc + i;
    for (std::size_t j = 0; j < un; ++j) col[j] += vi * u[j];
    if (i + 1 - block_start == kRowsPerCarryPass || i + 1 == vn) {
      // Rows block_start..i touched columns block_start..i+un-1; the carry
      // out of them waits in column i+un, which no row has touched yet.
      std::uint64_t carry = 0;
      for (std::size_t k = block_start; k < i + un; ++k) {
        std::uint64_t t = acc[k] + carry;
        carry = t / kLimbBase;
        acc[k] = t - carry * kLimbBase;
      }
      acc[i + un] += carry;
      block_start = i + 1;
    }
  }
  for (std::size_t k = 0; k < n; ++k) w[k] = static_cast<Limb>(acc[k]);
}

void multiply_karatsuba(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w,
                        bool allow_ntt) {
  assert(un >= 1 && vn >= 1 && Disjoint(w, un + vn, u, un) && Disjoint(w, un + vn, v, vn));
  if (un < vn) {
    std::swap(u, v);
    std::swap(un, vn);
  }
  const std::size_t h = (un + 1) / 2;
  if (vn <= h) {  // no high half in v: the dispatcher cuts u instead
    multiply(u, un, v, vn, w, allow_ntt);
    return;
  }
  const std::size_t un1 = un - h;
  const std::size_t vn1 = vn - h;
  // z0 = u0 v0 into w[0..2h), z2 = u1 v1 into w[2h..un+vn).
  multiply(u, h, v, h, w, allow_ntt);
  multiply(u + h, un1, v + h, vn1, w + 2 * h, allow_ntt);

  std::vector<Limb> scratch(4 * h + 4);
  Limb* su = scratch.data();
  Limb* sv = su + h + 1;
  Limb* z1 = sv + h + 1;
  std::copy(u, u + h, su);
  su[h] = add_into(su, h, u + h, un1);
  std::copy(v, v + h, sv);
  sv[h] = add_into(sv, h, v + h, vn1);
  const std::size_t sun = h + (su[h] != 0);
  const std::size_t svn = h + (sv[h] != 0);
  std::size_t zn = sun + svn;
  multiply(su, sun, sv, svn, z1, allow_ntt);
  // z1 := (u0 + u1)(v0 + v1) - z0 - z2 = u0 v1 + u1 v0, which is below
  // B^(un+vn-h): the limbs above that are zero.
  sub_into(z1, zn, w, 2 * h);
  sub_into(z1, zn, w + 2 * h, un1 + vn1);
  zn = std::min(zn, un + vn - h);
  add_into(w + h, un + vn - h, z1, zn);
}

// ---------------------------------------------------------------------------
// Number-theoretic transform.

namespace {

constexpr std::uint32_t PowMod(std::uint64_t a, std::uint64_t e, std::uint32_t p) {
  std::uint64_t r = 1;
  a %= p;
  while (e != 0) {
    if (e & 1) r = r * a % p;
    a = a * a % p;
    e >>= 1;
  }
  return static_cast<std::uint32_t>(r);
}

// Roots of unity for every power-of-two length up to `size`: entries
// [len, 2 len) hold w^j, j < len, for w a primitive (2 len)-th root, with
// Shoup's precomputed quotients floor(w^j * 2^32 / p) beside them.
struct RootTables {
  std::size_t size = 0;
  std::vector<std::uint32_t> fwd, fwd_shoup, inv, inv_shoup;
};

// Transforms modulo a prime P = c * 2^k + 1 below 2^30, so that lazy values
// below 4P fit 32 bits. G is a primitive root modulo P.
template <std::uint32_t P, std::uint32_t G>
class NttPrime {
 public:
  static constexpr std::uint32_t kP = P;
  static constexpr std::size_t kMaxLength = std::size_t{1} << std::countr_zero(P - 1);

  // Tables for transforms of length up to n; grown on demand, shared.
  static std::shared_ptr<const RootTables> Tables(std::size_t n) {
    static std::mutex mutex;
    static std::shared_ptr<const RootTables> cached;
    std::lock_guard<std::mutex> lock(mutex);
    if (!cached || cached->size < n) cached = Build(std::max<std::size_t>(n, 1024));
    return cached;
  }

  // In place, natural order in (values < 2P), bit-reversed order out
  // (values < 2P). Decimation in frequency (Gentleman-Sande).
  static void Forward(std::uint32_t* a, std::size_t n, const RootTables& t) {
    for (std::size_t len = n >> 1; len >= 1; len >>= 1) {
      const std::uint32_t* w = t.fwd.data() + len;
      const std::uint32_t* ws = t.fwd_shoup.data() + len;
      for (std::size_t s = 0; s < n; s += 2 * len) {
        std::uint32_t* a0 = a + s;
        std::uint32_t* a1 = a0 + len;
        for (std::size_t j = 0; j < len; ++j) {
          std::uint32_t x = a0[j];
          std::uint32_t y = a1[j];
          std::uint32_t sum = x + y;
          a0[j] = sum >= 2 * P ? sum - 2 * P : sum;
          a1[j] = MulShoup(x + 2 * P - y, w[j], ws[j]);
        }
      }
    }
  }

  // In place, bit-reversed order in (values < 2P), natural order out, fully
  // reduced, scaled by n (the caller folds in 1/n). Decimation in time
  // (Cooley-Tukey) with the inverse roots.
  static void Inverse(std::uint32_t* a, std::size_t n, const RootTables& t) {
    for (std::size_t len = 1; len < n; len <<= 1) {
      const std::uint32_t* w = t.inv.data() + len;
      const std::uint32_t* ws = t.inv_shoup.data() + len;
      for (std::size_t s = 0; s < n; s += 2 * len) {
        std::uint32_t* a0 = a + s;
        std::uint32_t* a1 = a0 + len;
        for (std::size_t j = 0; j < len; ++j) {
          std::uint32_t x = a0[j];
          x = x >= 2 * P ? x - 2 * P : x;
          std::uint32_t y = MulShoup(a1[j], w[j], ws[j]);
          a0[j] = x + y;
          a1[j] = x + 2 * P - y;
        }
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      std::uint32_t x = a[i];
      x = x >= 2 * P ? x - 2 * P : x;
      a[i] = x >= P ? x - P : x;
    }
  }

 private:
  // x * w mod P, in [0, 2P), for any x < 2^32 and w < P (Shoup).
  static std::uint32_t MulShoup(std::uint32_t x, std::uint32_t w, std::uint32_t w_shoup) {
    auto q = static_cast<std::uint32_t>((std::uint64_t{x} * w_shoup) >> 32);
    return x * w - q * P;
  }

  static std::shared_ptr<const RootTables> Build(std::size_t n) {
    auto t = std::make_shared<RootTables>();
    t->size = n;
    t->fwd.assign(n, 0);
    t->fwd_shoup.assign(n, 0);
    t->inv.assign(n, 0);
    t->inv_shoup.assign(n, 0);
    for (std::size_t len = 1; len < n; len <<= 1) {
      const std::uint32_t root = PowMod(G, (P - 1) / (2 * len), P);
      const std::uint32_t iroot = PowMod(root, P - 2, P);
      std::uint64_t x = 1;
      std::uint64_t y = 1;
      for (std::size_t j = 0; j < len; ++j) {
        t->fwd[len + j] = static_cast<std::uint32_t>(x);
        t->fwd_shoup[len + j] = static_cast<std::uint32_t>((x << 32) / P);
        t->inv[len + j] = static_cast<std::uint32_t>(y);
        t->inv_shoup[len + j] = static_cast<std::uint32_t>((y << 32) / P);
        x = x * root % P;
        y = y * iroot % P;
      }
    }
    return t;
  }
};

using Prime0 = NttPrime<998244353, 3>;  // 119 * 2^23 + 1
using Prime1 = NttPrime<754974721, 11>;  // 45 * 2^24 + 1
using Prime2 = NttPrime<469762049, 3>;  // 7 * 2^26 + 1
constexpr std::size_t kMaxTransform = std::min({Prime0::kMaxLength, Prime1::kMaxLength,
                                                Prime2::kMaxLength});

// A coefficient of the convolution is at most min(un, vn) * (10^9 - 1)^2,
// below 2^22 * 10^18 for any transform we can do, and so well below
// P0 P1 P2 (about 3.5e26): the CRT value is the exact coefficient.
constexpr std::uint64_t kP0 = Prime0::kP;
constexpr std::uint64_t kP1 = Prime1::kP;
constexpr std::uint64_t kP2 = Prime2::kP;
constexpr std::uint64_t kP0P1 = kP0 * kP1;
constexpr std::uint64_t kInvP0ModP1 = PowMod(kP0, kP1 - 2, Prime1::kP);
constexpr std::uint64_t kInvP0P1ModP2 = PowMod(kP0P1 % kP2, kP2 - 2, Prime2::kP);
constexpr std::uint64_t kP0P1High = kP0P1 / kLimbBase;  // kP0P1 = High * 10^9 + Low
constexpr std::uint64_t kP0P1Low = kP0P1 % kLimbBase;

// Transform of `src` (n values, zero-padded to size) modulo one prime.
template <class Prime>
void LoadAndForward(std::uint32_t* dst, const Limb* src, std::size_t n, std::size_t size,
                    const RootTables& t) {
  for (std::size_t i = 0; i < n; ++i) dst[i] = src[i] % Prime::kP;
  std::fill(dst + n, dst + size, 0u);
  Prime::Forward(dst, size, t);
}

// fv := transform of v, times 1/size, fully reduced.
template <class Prime>
void PrepareShort(std::uint32_t* fv, const Limb* v, std::size_t vn, std::size_t size,
                  const RootTables& t) {
  LoadAndForward<Prime>(fv, v, vn, size, t);
  const std::uint64_t inv_size = PowMod(size, Prime::kP - 2, Prime::kP);
  for (std::size_t i = 0; i < size; ++i) fv[i] = static_cast<std::uint32_t>(fv[i] * inv_size % Prime::kP);
}

// a := inverse transform of (transform(chunk) * fv), fully reduced.
template <class Prime>
void ConvolveChunk(std::uint32_t* a, const Limb* chunk, std::size_t cn, const std::uint32_t* fv,
                   std::size_t size, const RootTables& t) {
  LoadAndForward<Prime>(a, chunk, cn, size, t);
  for (std::size_t i = 0; i < size; ++i) {
    a[i] = static_cast<std::uint32_t>(std::uint64_t{a[i]} * fv[i] % Prime::kP);
  }
  Prime::Inverse(a, size, t);
}

// Garner: x = r0 + P0 y1 + P0 P1 y2 for each of the `coefficients` residue
// triples, then carries in base 10^9 without 128-bit division by splitting
// P0 P1 into two limbs. Writes coefficients + 1 limbs to out.
void Recombine(const std::uint32_t* a0, const std::uint32_t* a1, const std::uint32_t* a2,
               std::size_t coefficients, Limb* out) {
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < coefficients; ++i) {
    const std::uint64_t r0 = a0[i];
    const std::uint64_t y1 = (a1[i] + kP1 - r0 % kP1) % kP1 * kInvP0ModP1 % kP1;
    const std::uint64_t x01 = r0 + kP0 * y1;
    const std::uint64_t y2 = (a2[i] + kP2 - x01 % kP2) % kP2 * kInvP0P1ModP2 % kP2;
    const std::uint64_t y2_low = y2 * kP0P1Low;
    const std::uint64_t low = x01 % kLimbBase + y2_low % kLimbBase + carry % kLimbBase;
    carry = x01 / kLimbBase + y2_low / kLimbBase + y2 * kP0P1High + carry / kLimbBase +
            low / kLimbBase;
    out[i] = static_cast<Limb>(low % kLimbBase);
  }
  out[coefficients] = static_cast<Limb>(carry);  // the product fits: carry < 10^9
}

// ---- Squares ---------------------------------------------------------------
// A square needs one forward transform per prime instead of two: the
// transform of u is squared point by point and transformed back.

// a := inverse transform of transform(u)^2 / size, fully reduced.
template <class Prime>
void SquareModPrime(std::uint32_t* a, const Limb* u, std::size_t un, std::size_t size, const RootTables& t) {
  LoadAndForward<Prime>(a, u, un, size, t);
  const std::uint64_t inv_size = PowMod(size, Prime::kP - 2, Prime::kP);
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint64_t x = a[i] % Prime::kP;
    a[i] = static_cast<std::uint32_t>(x * x % Prime::kP * inv_size % Prime::kP);
  }
  Prime::Inverse(a, size, t);
}

}  // namespace

void square_ntt(const Limb* u, std::size_t un, Limb* w) {
  assert(un >= 1 && Disjoint(w, 2 * un, u, un));
  const std::size_t size = std::bit_ceil(2 * un - 1);
  if (size > kMaxTransform) {
    multiply_ntt(u, un, u, un, w);  // too long for one transform: in pieces
    return;
  }
  auto t0 = Prime0::Tables(size);
  auto t1 = Prime1::Tables(size);
  auto t2 = Prime2::Tables(size);
  std::vector<std::uint32_t> buf(3 * size);
  std::uint32_t* a0 = buf.data();
  std::uint32_t* a1 = a0 + size;
  std::uint32_t* a2 = a1 + size;
  SquareModPrime<Prime0>(a0, u, un, size, *t0);
  SquareModPrime<Prime1>(a1, u, un, size, *t1);
  SquareModPrime<Prime2>(a2, u, un, size, *t2);
  std::vector<Limb> part(2 * un);
  Recombine(a0, a1, a2, 2 * un - 1, part.data());
  std::copy(part.begin(), part.end(), w);
}

namespace {

}  // namespace

void multiply_ntt(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w) {
  assert(un >= 1 && vn >= 1 && Disjoint(w, un + vn, u, un) && Disjoint(w, un + vn, v, vn));
  if (un < vn) {
    std::swap(u, v);
    std::swap(un, vn);
  }
  // Transform length: room for the whole product when it is not too much
  // longer than v; otherwise u goes in pieces of size - vn + 1 limbs, and a
  // length of about four times v keeps the cost per limb of u low.
  std::size_t size = std::bit_ceil(un + vn - 1);
  size = std::min(size, std::bit_ceil(4 * vn));
  if (size > kMaxTransform) throw std::length_error("multiply_ntt: operands too long");
  const std::size_t piece = size - vn + 1;

  auto t0 = Prime0::Tables(size);
  auto t1 = Prime1::Tables(size);
  auto t2 = Prime2::Tables(size);
  std::vector<std::uint32_t> buf(6 * size);
  std::uint32_t* fv0 = buf.data();
  std::uint32_t* fv1 = fv0 + size;
  std::uint32_t* fv2 = fv1 + size;
  std::uint32_t* a0 = fv2 + size;
  std::uint32_t* a1 = a0 + size;
  std::uint32_t* a2 = a1 + size;
  PrepareShort<Prime0>(fv0, v, vn, size, *t0);
  PrepareShort<Prime1>(fv1, v, vn, size, *t1);
  PrepareShort<Prime2>(fv2, v, vn, size, *t2);

  std::fill(w, w + un + vn, Limb{0});
  std::vector<Limb> part(piece + vn);
  for (std::size_t off = 0; off < un; off += piece) {
    const std::size_t cn = std::min(piece, un - off);
    ConvolveChunk<Prime0>(a0, u + off, cn, fv0, size, *t0);
    ConvolveChunk<Prime1>(a1, u + off, cn, fv1, size, *t1);
    ConvolveChunk<Prime2>(a2, u + off, cn, fv2, size, *t2);
    const std::size_t coefficients = cn + vn - 1;
    Recombine(a0, a1, a2, coefficients, part.data());
    add_into(w + off, un + vn - off, part.data(), coefficients + 1);
  }
}

void multiply(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w, bool allow_ntt) {
  if (un < vn) {
    std::swap(u, v);
    std::swap(un, vn);
  }
  if (vn == 0) {
    std::fill(w, w + un, Limb{0});
    return;
  }
  if (vn < tuning::kKaratsubaThreshold) {
    multiply_schoolbook(u, un, v, vn, w);
    return;
  }
  if (allow_ntt && vn >= tuning::kNttThreshold) {
    if (u == v && un == vn) {
      square_ntt(u, un, w);
      return;
    }
    multiply_ntt(u, un, v, vn, w);
    return;
  }
  if (2 * vn <= un + 1) {
    // Unbalanced: u in pieces of vn limbs, each a balanced product.
    std::fill(w, w + un + vn, Limb{0});
    std::vector<Limb> part(2 * vn);
    for (std::size_t off = 0; off < un; off += vn) {
      const std::size_t cn = std::min(vn, un - off);
      multiply(u + off, cn, v, vn, part.data(), allow_ntt);
      add_into(w + off, un + vn - off, part.data(), cn + vn);
    }
    return;
  }
  multiply_karatsuba(u, un, v, vn, w, allow_ntt);
}

}  // namespace kernels

namespace {

template <class Kernel>
Natural MultiplyWith(const Natural& a, const Natural& b, Kernel kernel) {
  if (a.IsZero() || b.IsZero()) return Natural();
  std::vector<Limb> w(a.LimbCount() + b.LimbCount());
  kernel(a.Limbs().data(), a.LimbCount(), b.Limbs().data(), b.LimbCount(), w.data());
  return Natural::FromLimbs(std::move(w));
}

}  // namespace

Natural Multiply(const Natural& a, const Natural& b) {
  return MultiplyWith(a, b, [](const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w) {
    kernels::multiply(u, un, v, vn, w, true);
  });
}

Natural multiply_schoolbook(const Natural& a, const Natural& b) {
  return MultiplyWith(a, b, kernels::multiply_schoolbook);
}

Natural multiply_karatsuba(const Natural& a, const Natural& b) {
  return MultiplyWith(a, b, [](const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w) {
    kernels::multiply_karatsuba(u, un, v, vn, w, false);
  });
}

Natural multiply_ntt(const Natural& a, const Natural& b) {
  return MultiplyWith(a, b, kernels::multiply_ntt);
}

Natural square_ntt(const Natural& a) {
  if (a.IsZero()) return Natural();
  std::vector<Limb> w(2 * a.LimbCount());
  kernels::square_ntt(a.Limbs().data(), a.LimbCount(), w.data());
  return Natural::FromLimbs(std::move(w));
}

}  // namespace decimora::engine
