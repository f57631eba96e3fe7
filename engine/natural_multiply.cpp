// Exact multiplication of naturals: schoolbook, Karatsuba and a three-prime
// number-theoretic transform, with the dispatcher that picks among them.

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cassert>
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif
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

void multiply_schoolbook(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w) {
  // Every column: the upper-columns product from column 0 is the whole one.
  multiply_schoolbook_high(u, un, v, vn, w, 0);
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

// x * w mod p, in [0, 2p), for any x < 2^32 and w < p < 2^30, given
// w_shoup = floor(w * 2^32 / p) (Shoup's multiplication).
inline std::uint32_t MulShoup(std::uint32_t x, std::uint32_t w, std::uint32_t w_shoup, std::uint32_t p) {
  auto q = static_cast<std::uint32_t>((std::uint64_t{x} * w_shoup) >> 32);
  return x * w - q * p;
}

// One butterfly of each kind on a0[j], a1[j] with the root w[j].
inline void ForwardButterfly(std::uint32_t& x0, std::uint32_t& x1, std::uint32_t w, std::uint32_t ws,
                             std::uint32_t p) {
  const std::uint32_t x = x0;
  const std::uint32_t y = x1;
  const std::uint32_t sum = x + y;
  x0 = sum >= 2 * p ? sum - 2 * p : sum;
  x1 = MulShoup(x + 2 * p - y, w, ws, p);
}
inline void InverseButterfly(std::uint32_t& x0, std::uint32_t& x1, std::uint32_t w, std::uint32_t ws,
                             std::uint32_t p) {
  std::uint32_t x = x0;
  x = x >= 2 * p ? x - 2 * p : x;
  const std::uint32_t y = MulShoup(x1, w, ws, p);
  x0 = x + y;
  x1 = x + 2 * p - y;
}

void ForwardPassesScalar(std::uint32_t* a, std::size_t n, const std::uint32_t* wt, const std::uint32_t* wst,
                         std::uint32_t p) {
  for (std::size_t len = n >> 1; len >= 1; len >>= 1) {
    for (std::size_t s = 0; s < n; s += 2 * len) {
      for (std::size_t j = 0; j < len; ++j) ForwardButterfly(a[s + j], a[s + len + j], wt[len + j], wst[len + j], p);
    }
  }
}

void InversePassesScalar(std::uint32_t* a, std::size_t n, const std::uint32_t* wt, const std::uint32_t* wst,
                         std::uint32_t p) {
  for (std::size_t len = 1; len < n; len <<= 1) {
    for (std::size_t s = 0; s < n; s += 2 * len) {
      for (std::size_t j = 0; j < len; ++j) InverseButterfly(a[s + j], a[s + len + j], wt[len + j], wst[len + j], p);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t x = a[i];
    x = x >= 2 * p ? x - 2 * p : x;
    a[i] = x >= p ? x - p : x;
  }
}

// x y 2^-32 c mod p, in [0, 2p), for x, y < 2p < 2^31 (so that x y + m p
// stays below 2^63 and the reduced value below 2p).
inline std::uint32_t PointwiseOne(std::uint32_t x, std::uint32_t y, std::uint32_t p, std::uint32_t p_neg_inv,
                                  std::uint32_t c, std::uint32_t cs) {
  const std::uint64_t t = std::uint64_t{x} * y;
  const std::uint32_t m = static_cast<std::uint32_t>(t) * p_neg_inv;
  const auto u = static_cast<std::uint32_t>((t + std::uint64_t{m} * p) >> 32);
  return MulShoup(u, c, cs, p);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define DECIMORA_NTT_AVX2 1

// Eight butterflies at a time, the same arithmetic as the scalar ones (the
// same values in every lane: the transform is exact either way).
__attribute__((target("avx2"))) inline __m256i MulShoup8(__m256i x, __m256i w, __m256i ws, __m256i p) {
  const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(x, ws), 32);
  const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(x, 32), _mm256_srli_epi64(ws, 32));
  const __m256i q = _mm256_blend_epi32(even, odd, 0xAA);
  return _mm256_sub_epi32(_mm256_mullo_epi32(x, w), _mm256_mullo_epi32(q, p));
}

// x - m where x >= m, else x (unsigned lanes; m > 0, x < 2m).
__attribute__((target("avx2"))) inline __m256i ReduceOnce8(__m256i x, __m256i m) {
  return _mm256_min_epu32(x, _mm256_sub_epi32(x, m));
}

// The roots of the passes of length 1, 2 and 4, spread over eight lanes:
// lane k of pass len takes root k mod len.
struct SmallPassRoots {
  __m256i w[3], ws[3];
  __attribute__((target("avx2"))) SmallPassRoots(const std::uint32_t* wt, const std::uint32_t* wst) {
    for (int i = 0; i < 3; ++i) {
      const std::size_t len = std::size_t{1} << i;
      alignas(32) std::uint32_t lw[8], lws[8];
      for (std::size_t k = 0; k < 8; ++k) {
        lw[k] = wt[len + k % len];
        lws[k] = wst[len + k % len];
      }
      w[i] = _mm256_load_si256(reinterpret_cast<const __m256i*>(lw));
      ws[i] = _mm256_load_si256(reinterpret_cast<const __m256i*>(lws));
    }
  }
};

// Lane k's pair is (k & ~len, k | len); Mask has bit k set where k & len.
template <int Len>
__attribute__((target("avx2"))) inline __m256i PairLow(__m256i v) {
  const __m256i idx = _mm256_setr_epi32(0 & ~Len, 1 & ~Len, 2 & ~Len, 3 & ~Len, 4 & ~Len, 5 & ~Len, 6 & ~Len,
                                        7 & ~Len);
  return _mm256_permutevar8x32_epi32(v, idx);
}
template <int Len>
__attribute__((target("avx2"))) inline __m256i PairHigh(__m256i v) {
  const __m256i idx = _mm256_setr_epi32(0 | Len, 1 | Len, 2 | Len, 3 | Len, 4 | Len, 5 | Len, 6 | Len, 7 | Len);
  return _mm256_permutevar8x32_epi32(v, idx);
}

template <int Len, int Mask>
__attribute__((target("avx2"))) inline __m256i ForwardInBlock(__m256i v, __m256i w, __m256i ws, __m256i vp,
                                                              __m256i vp2) {
  const __m256i x = PairLow<Len>(v);
  const __m256i y = PairHigh<Len>(v);
  const __m256i sum = ReduceOnce8(_mm256_add_epi32(x, y), vp2);
  const __m256i diff = MulShoup8(_mm256_sub_epi32(_mm256_add_epi32(x, vp2), y), w, ws, vp);
  return _mm256_blend_epi32(sum, diff, Mask);
}

template <int Len, int Mask>
__attribute__((target("avx2"))) inline __m256i InverseInBlock(__m256i v, __m256i w, __m256i ws, __m256i vp,
                                                              __m256i vp2) {
  const __m256i x = ReduceOnce8(PairLow<Len>(v), vp2);
  const __m256i y = MulShoup8(PairHigh<Len>(v), w, ws, vp);
  return _mm256_blend_epi32(_mm256_add_epi32(x, y), _mm256_sub_epi32(_mm256_add_epi32(x, vp2), y), Mask);
}

__attribute__((target("avx2"))) void ForwardPassesAvx2(std::uint32_t* a, std::size_t n, const std::uint32_t* wt,
                                                       const std::uint32_t* wst, std::uint32_t p) {
  const __m256i vp = _mm256_set1_epi32(static_cast<int>(p));
  const __m256i vp2 = _mm256_set1_epi32(static_cast<int>(2 * p));
  if (n < 16) {
    ForwardPassesScalar(a, n, wt, wst, p);
    return;
  }
  for (std::size_t len = n >> 1; len >= 8; len >>= 1) {
    const std::uint32_t* w = wt + len;
    const std::uint32_t* ws = wst + len;
    for (std::size_t s = 0; s < n; s += 2 * len) {
      std::uint32_t* a0 = a + s;
      std::uint32_t* a1 = a0 + len;
      for (std::size_t j = 0; j < len; j += 8) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a0 + j));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a1 + j));
        const __m256i vw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + j));
        const __m256i vws = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ws + j));
        const __m256i sum = ReduceOnce8(_mm256_add_epi32(x, y), vp2);
        const __m256i diff = _mm256_sub_epi32(_mm256_add_epi32(x, vp2), y);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a0 + j), sum);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a1 + j), MulShoup8(diff, vw, vws, vp));
      }
    }
  }
  // The passes of length 4, 2 and 1 inside each block of eight, in
  // registers: every lane computes both butterfly outputs of its pair from
  // the pair's two values, and keeps the one its position calls for.
  const SmallPassRoots r(wt, wst);
  for (std::size_t s = 0; s < n; s += 8) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + s));
    v = ForwardInBlock<4, 0xF0>(v, r.w[2], r.ws[2], vp, vp2);
    v = ForwardInBlock<2, 0xCC>(v, r.w[1], r.ws[1], vp, vp2);
    v = ForwardInBlock<1, 0xAA>(v, r.w[0], r.ws[0], vp, vp2);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + s), v);
  }
}

__attribute__((target("avx2"))) void InversePassesAvx2(std::uint32_t* a, std::size_t n, const std::uint32_t* wt,
                                                       const std::uint32_t* wst, std::uint32_t p) {
  const __m256i vp = _mm256_set1_epi32(static_cast<int>(p));
  const __m256i vp2 = _mm256_set1_epi32(static_cast<int>(2 * p));
  if (n < 16) {
    InversePassesScalar(a, n, wt, wst, p);
    return;
  }
  const SmallPassRoots r(wt, wst);
  for (std::size_t s = 0; s < n; s += 8) {
    __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + s));
    v = InverseInBlock<1, 0xAA>(v, r.w[0], r.ws[0], vp, vp2);
    v = InverseInBlock<2, 0xCC>(v, r.w[1], r.ws[1], vp, vp2);
    v = InverseInBlock<4, 0xF0>(v, r.w[2], r.ws[2], vp, vp2);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + s), v);
  }
  for (std::size_t len = 8; len < n; len <<= 1) {
    const std::uint32_t* w = wt + len;
    const std::uint32_t* ws = wst + len;
    for (std::size_t s = 0; s < n; s += 2 * len) {
      std::uint32_t* a0 = a + s;
      std::uint32_t* a1 = a0 + len;
      for (std::size_t j = 0; j < len; j += 8) {
        const __m256i x = ReduceOnce8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a0 + j)), vp2);
        const __m256i y1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a1 + j));
        const __m256i vw = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + j));
        const __m256i vws = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(ws + j));
        const __m256i y = MulShoup8(y1, vw, vws, vp);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a0 + j), _mm256_add_epi32(x, y));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a1 + j), _mm256_sub_epi32(_mm256_add_epi32(x, vp2), y));
      }
    }
  }
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
    x = ReduceOnce8(ReduceOnce8(x, vp2), vp);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + i), x);
  }
  for (; i < n; ++i) {
    std::uint32_t x = a[i];
    x = x >= 2 * p ? x - 2 * p : x;
    a[i] = x >= p ? x - p : x;
  }
}

// a[i] := a[i] b[i] 2^-32 c mod p, in [0, 2p), for a[i], b[i] < 2p:
// Montgomery's reduction of each product, then a Shoup product by the
// constant c (cs its quotient). Eight lanes at a time, even and odd lanes
// in separate 64-bit halves.
__attribute__((target("avx2"))) void PointwiseAvx2(std::uint32_t* a, const std::uint32_t* b, std::size_t n,
                                                   std::uint32_t p, std::uint32_t p_neg_inv, std::uint32_t c,
                                                   std::uint32_t cs) {
  const __m256i vp = _mm256_set1_epi32(static_cast<int>(p));
  const __m256i vni = _mm256_set1_epi32(static_cast<int>(p_neg_inv));
  const __m256i vc = _mm256_set1_epi32(static_cast<int>(c));
  const __m256i vcs = _mm256_set1_epi32(static_cast<int>(cs));
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
    const __m256i te = _mm256_mul_epu32(x, y);
    const __m256i to = _mm256_mul_epu32(_mm256_srli_epi64(x, 32), _mm256_srli_epi64(y, 32));
    const __m256i ue = _mm256_add_epi64(te, _mm256_mul_epu32(_mm256_mul_epu32(te, vni), vp));
    const __m256i uo = _mm256_add_epi64(to, _mm256_mul_epu32(_mm256_mul_epu32(to, vni), vp));
    const __m256i u = _mm256_blend_epi32(_mm256_srli_epi64(ue, 32), uo, 0xAA);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(a + i), MulShoup8(u, vc, vcs, vp));
  }
  for (; i < n; ++i) a[i] = PointwiseOne(a[i], b[i], p, p_neg_inv, c, cs);
}

std::atomic<bool> g_vector_kernels{true};

bool HaveAvx2() {
  static const bool have = __builtin_cpu_supports("avx2");
  return have && g_vector_kernels.load(std::memory_order_relaxed);
}
#endif

// The passes of a forward transform of length n modulo p (see
// NttPrime::Forward); wt and wst are the root tables.
void ForwardPasses(std::uint32_t* a, std::size_t n, const std::uint32_t* wt, const std::uint32_t* wst,
                   std::uint32_t p) {
#ifdef DECIMORA_NTT_AVX2
  if (HaveAvx2()) {
    ForwardPassesAvx2(a, n, wt, wst, p);
    return;
  }
#endif
  ForwardPassesScalar(a, n, wt, wst, p);
}

// The passes of an inverse transform of length n modulo p (see
// NttPrime::Inverse), ending with the full reduction.
void InversePasses(std::uint32_t* a, std::size_t n, const std::uint32_t* wt, const std::uint32_t* wst,
                   std::uint32_t p) {
#ifdef DECIMORA_NTT_AVX2
  if (HaveAvx2()) {
    InversePassesAvx2(a, n, wt, wst, p);
    return;
  }
#endif
  InversePassesScalar(a, n, wt, wst, p);
}

// a[i] := a[i] b[i] 2^-32 c mod p, in [0, 2p) (see PointwiseOne).
void Pointwise(std::uint32_t* a, const std::uint32_t* b, std::size_t n, std::uint32_t p, std::uint32_t p_neg_inv,
               std::uint32_t c, std::uint32_t cs) {
#ifdef DECIMORA_NTT_AVX2
  if (HaveAvx2()) {
    PointwiseAvx2(a, b, n, p, p_neg_inv, c, cs);
    return;
  }
#endif
  for (std::size_t i = 0; i < n; ++i) a[i] = PointwiseOne(a[i], b[i], p, p_neg_inv, c, cs);
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
  // -1/P mod 2^32 (Newton's iteration doubles the correct low bits).
  static constexpr std::uint32_t kNegInv = [] {
    std::uint32_t x = P;
    for (int i = 0; i < 5; ++i) x *= 2 - P * x;
    return 0u - x;
  }();
  static_assert(static_cast<std::uint32_t>(P * kNegInv) == 0xFFFFFFFFu);
  // Pointwise products of transforms scaled by `factor`: the constant that
  // undoes Montgomery's 2^-32 as well, with its Shoup quotient.
  static void Pointwise(std::uint32_t* a, const std::uint32_t* b, std::size_t n, std::uint64_t factor) {
    const std::uint64_t c = (factor % P << 32) % P;
    const std::uint32_t cs = static_cast<std::uint32_t>((c << 32) / P);
    kernels::Pointwise(a, b, n, P, kNegInv, static_cast<std::uint32_t>(c), cs);
  }
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
    ForwardPasses(a, n, t.fwd.data(), t.fwd_shoup.data(), P);
  }

  // In place, bit-reversed order in (values < 2P), natural order out, fully
  // reduced, scaled by n (the caller folds in 1/n). Decimation in time
  // (Cooley-Tukey) with the inverse roots.
  static void Inverse(std::uint32_t* a, std::size_t n, const RootTables& t) {
    InversePasses(a, n, t.inv.data(), t.inv_shoup.data(), P);
  }

 private:
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
  Prime::Pointwise(a, fv, size, 1);
  Prime::Inverse(a, size, t);
}

// Shoup's quotient of a constant c < p: floor(c * 2^32 / p).
constexpr std::uint32_t ShoupOf(std::uint64_t c, std::uint64_t p) {
  return static_cast<std::uint32_t>((c << 32) / p);
}
constexpr std::uint32_t kInv01Shoup = ShoupOf(kInvP0ModP1, kP1);
constexpr std::uint64_t kP0ModP2 = kP0 % kP2;
constexpr std::uint32_t kP0ModP2Shoup = ShoupOf(kP0ModP2, kP2);
constexpr std::uint32_t kInv012Shoup = ShoupOf(kInvP0P1ModP2, kP2);
static_assert(kP0 < 2 * kP1 && kP0 < 3 * kP2 && 4 * kP2 < (std::uint64_t{1} << 32));

inline std::uint32_t ReduceOnce(std::uint32_t x, std::uint32_t m) { return x >= m ? x - m : x; }

// Garner: x = r0 + P0 y1 + P0 P1 y2 for each of the `coefficients` residue
// triples, every modular product a Shoup product by a constant; then the
// carries in base 10^9 without 128-bit division by splitting P0 P1 into two
// limbs: x + carry = (x01 + y2 Low + carry) + y2 High 10^9, whose first part
// stays below 2^64 (x01 < P0 P1, y2 Low < P2 10^9, and the carry below the
// largest coefficient over 10^9, under 2^22 10^9). Writes coefficients + 1
// limbs to out.
void Recombine(const std::uint32_t* a0, const std::uint32_t* a1, const std::uint32_t* a2,
               std::size_t coefficients, Limb* out) {
  constexpr auto p1 = static_cast<std::uint32_t>(kP1);
  constexpr auto p2 = static_cast<std::uint32_t>(kP2);
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < coefficients; ++i) {
    const std::uint32_t r0 = a0[i];
    // y1 = (r1 - r0) / P0 mod P1.
    const std::uint32_t d1 = a1[i] + p1 - ReduceOnce(r0, p1);
    const std::uint32_t y1 = ReduceOnce(MulShoup(d1, kInvP0ModP1, kInv01Shoup, p1), p1);
    const std::uint64_t x01 = r0 + kP0 * y1;
    // y2 = (r2 - x01) / (P0 P1) mod P2, with x01 mod P2 = r0 + P0 y1 mod P2
    // taken below 3 P2.
    const std::uint32_t x01_mod = ReduceOnce(ReduceOnce(r0, 2 * p2), p2) +
                                  MulShoup(y1, static_cast<std::uint32_t>(kP0ModP2), kP0ModP2Shoup, p2);
    const std::uint32_t d2 = a2[i] + 3 * p2 - x01_mod;
    const std::uint32_t y2 = ReduceOnce(MulShoup(d2, kInvP0P1ModP2, kInv012Shoup, p2), p2);
    const std::uint64_t t = x01 + y2 * kP0P1Low + carry;
    const std::uint64_t q = t / kLimbBase;
    out[i] = static_cast<Limb>(t - q * kLimbBase);
    carry = q + y2 * kP0P1High;
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
  Prime::Pointwise(a, a, size, inv_size);
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

bool SetNttVectorKernels(bool enabled) {
#ifdef DECIMORA_NTT_AVX2
  return kernels::g_vector_kernels.exchange(enabled);
#else
  (void)enabled;
  return false;
#endif
}

Natural square_ntt(const Natural& a) {
  if (a.IsZero()) return Natural();
  std::vector<Limb> w(2 * a.LimbCount());
  kernels::square_ntt(a.Limbs().data(), a.LimbCount(), w.data());
  return Natural::FromLimbs(std::move(w));
}

}  // namespace decimora::engine
