// Short products: the upper columns of a long multiplication (the leading
// digits of a product, when those alone decide them) and the lower ones
// (a product modulo a power of the base).

#include <algorithm>
#include <array>
#include <cassert>
#include <vector>

#include "engine/natural.h"
#include "engine/natural_kernels.h"
#include "engine/tuning.h"

namespace decimora::engine {

namespace kernels {

// As multiply_schoolbook, but only the products u[j] v[i] with i + j >= c
// are summed: w holds sum(u[j] v[i] B^(i+j), i + j >= c) exactly, its limbs
// below c zero. Rows are cut on the left, so about half the products of a
// balanced multiplication are skipped when c is near the middle.
//
// Built twice, for AVX2 and for any x86-64, and chosen when the program
// loads: the column sums vectorise four products to an instruction with
// AVX2 against two with the baseline's SSE2. multiply_schoolbook is this
// with c = 0.
DECIMORA_VECTOR_CLONES
void multiply_schoolbook_high(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w,
                              std::size_t c) {
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
    const std::size_t j0 = c > i ? std::min(c - i, un) : 0;
    std::uint64_t* col = acc + i;
    for (std::size_t j = j0; j < un; ++j) col[j] += vi * u[j];
    if (i + 1 - block_start == kRowsPerCarryPass || i + 1 == vn) {
      // Rows block_start..i touched columns block_start..i+un-1; the carry
      // out of them waits in column i+un, which no row has touched yet.
      NormaliseColumns(acc, block_start, i + un);
      block_start = i + 1;
    }
  }
  for (std::size_t k = 0; k < n; ++k) w[k] = static_cast<Limb>(acc[k]);
}

// w[0..m) := u * v mod B^m: only the products u[j] v[i] with i + j < m
// are summed, and carries out of column m - 1 are dropped.
DECIMORA_VECTOR_CLONES
void multiply_schoolbook_low(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w,
                             std::size_t m) {
  if (un < vn) {
    std::swap(u, v);
    std::swap(un, vn);
  }
  std::vector<std::uint64_t> acc(m + 1, 0);
  std::size_t block_start = 0;
  const std::size_t rows = std::min(vn, m);
  for (std::size_t i = 0; i < rows; ++i) {
    const std::uint64_t vi = v[i];
    const std::size_t j1 = std::min(un, m - i);
    std::uint64_t* col = acc.data() + i;
    for (std::size_t j = 0; j < j1; ++j) col[j] += vi * u[j];
    if (i + 1 - block_start == kRowsPerCarryPass || i + 1 == rows) {
      // Rows block_start..i touched columns block_start..min(i + un, m) - 1;
      // the carry out waits in the next column (acc has one spare).
      NormaliseColumns(acc.data(), block_start, std::min(i + un, m));
      block_start = i + 1;
    }
  }
  // Columns from `rows` on were last normalised with the final pass, except
  // a carry left in the column after it; columns past min(rows-1 + un, m) hold
  // at most that carry. Fold what is below B^m.
  std::uint64_t carry = 0;
  for (std::size_t k = 0; k < m; ++k) {
    const std::uint64_t t = acc[k] + carry;
    carry = t / kLimbBase;
    w[k] = static_cast<Limb>(t - carry * kLimbBase);
  }
}

}  // namespace kernels

namespace {

constexpr std::uint32_t kPow10[10] = {1,      10,      100,      1000,      10000,
                                      100000, 1000000, 10000000, 100000000, 1000000000};

// True when one of the digits of h at positions [from_limb * 9, s) (counted
// from the right, 0-based) is below 9.
bool SomeDigitBelowNine(const std::vector<Limb>& h, std::size_t from_limb, std::size_t s) {
  const std::size_t whole = s / kLimbDigits;
  for (std::size_t i = from_limb; i < whole; ++i) {
    if (i >= h.size() || h[i] != kLimbBase - 1) return true;
  }
  const std::size_t rest = s % kLimbDigits;
  if (rest == 0) return false;
  const Limb top = whole < h.size() ? h[whole] : 0;
  return top % kPow10[rest] != kPow10[rest] - 1;
}

}  // namespace

Natural LeadingDigitsOfProduct(const Natural& a, const Natural& b, std::size_t count, std::size_t* digit_count) {
  auto exact = [&]() {
    const Natural product = Multiply(a, b);
    *digit_count = product.DigitCount();
    return ShiftDecimalRight(product, *digit_count - std::min(*digit_count, count));
  };
  const std::size_t m = std::min(a.LimbCount(), b.LimbCount());
  if (m == 0 || m >= tuning::kKaratsubaThreshold) return exact();
  // The product has at least this many digits; cut there, at least s_low
  // digits go. The columns skipped lie three limbs below the cut.
  const std::size_t s_low = a.DigitCount() + b.DigitCount() - 1;
  if (s_low <= count + 4 * kLimbDigits) return exact();
  const std::size_t c = (s_low - count) / kLimbDigits - 3;

  std::vector<Limb> w(a.LimbCount() + b.LimbCount());
  kernels::multiply_schoolbook_high(a.Limbs().data(), a.LimbCount(), b.Limbs().data(), b.LimbCount(), w.data(), c);
  // h is the product less L, the skipped columns: L = sum over k < c of
  // column k times B^k, each column below m B^2, so L < 2 m B^(c+1) <
  // B^(c+2). The first digits of h are those of the product, and so is its
  // length, unless adding L carries across the cut at digit s: that needs
  // h mod 10^s + L >= 10^s, so every digit of h from position 9(c+2) up to
  // s - 1 must be a 9 (a digit below 9 there leaves h mod 10^s at most
  // 10^s - 1 - B^(c+2)). Only then is the full product computed.
  const Natural h = Natural::FromLimbs(w);
  const std::size_t d = h.DigitCount();
  if (d <= count) return exact();
  const std::size_t s = d - count;
  if (s < (c + 3) * kLimbDigits || !SomeDigitBelowNine(w, c + 2, s)) return exact();
  *digit_count = d;
  return ShiftDecimalRight(h, s);
}

}  // namespace decimora::engine
