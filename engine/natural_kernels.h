// Limb-vector kernels behind Natural (internal to the engine).
//
// Operands are {pointer, length} pairs of little-endian base 10^9 limbs, in
// the manner of a low-level multiprecision layer: no allocation of results,
// the caller owns every buffer and its size. Each kernel states its contract.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/natural.h"

// Marks a kernel to be compiled for AVX2 as well as for the baseline, the
// version picked when the program loads (GCC and Clang on x86-64 with the
// GNU C library; elsewhere one plain version).
#if defined(__x86_64__) && defined(__GNUC__) && defined(__GLIBC__) && !defined(__clang__)
#define DECIMORA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define DECIMORA_VECTOR_CLONES
#endif

namespace decimora::engine::kernels {

// The contracts below are asserted (active in the Debug and sanitizer
// builds): lengths, limbs below the base, and buffers that must not overlap.
inline bool Disjoint(const Limb* a, std::size_t an, const Limb* b, std::size_t bn) {
  return a + an <= b || b + bn <= a;
}

// Rows summed into the 64-bit columns of the schoolbook products between two
// carry passes: a column below 10^9 after a pass (or a pending carry below
// 2 * 10^10) plus 16 products below 10^18 stays below 2^64.
inline constexpr std::size_t kRowsPerCarryPass = 16;

// A carry pass of the schoolbook products: columns acc[from..to) become
// limbs, and the carry out of them is added to acc[to].
inline void NormaliseColumns(std::uint64_t* acc, std::size_t from, std::size_t to) {
  std::uint64_t carry = 0;
  for (std::size_t k = from; k < to; ++k) {
    const std::uint64_t t = acc[k] + carry;
    carry = t / kLimbBase;
    acc[k] = t - carry * kLimbBase;
  }
  acc[to] += carry;
}

// w[0..n) += v[0..n); returns the carry out (0 or 1).
Limb add_n(Limb* w, const Limb* v, std::size_t n);
// w[0..wn) += v[0..vn), vn <= wn; returns the carry out of w[wn-1].
Limb add_into(Limb* w, std::size_t wn, const Limb* v, std::size_t vn);
// w[0..wn) -= v[0..vn), vn <= wn; returns the borrow out of w[wn-1]
// (non-zero exactly when v > w).
Limb sub_into(Limb* w, std::size_t wn, const Limb* v, std::size_t vn);
// Compares u[0..n) with v[0..n): -1, 0, 1.
int compare_n(const Limb* u, const Limb* v, std::size_t n);
// w[0..n) := u[0..n) * f (f any 32-bit value); returns the high part, which
// is below f but may exceed one limb.
Limb mul_small(Limb* w, const Limb* u, std::size_t n, std::uint32_t f);

// w := u * v, len(w) = un + vn, un >= 1, vn >= 1; w must not overlap u or v.
// Every variant writes all un + vn limbs (high ones zero where the product is
// shorter).
//
// Long multiplication with deferred carries: products are summed in 64-bit
// columns and normalised every 16 rows, so the inner loop is a plain
// multiply-add.
void multiply_schoolbook(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w);
// The same with only the products u[j] v[i] of i + j >= c summed (limbs of
// w below c are zero): the upper columns of the product, without the carry
// from the lower ones.
void multiply_schoolbook_high(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w,
                              std::size_t c);
// w[0..m) := u * v mod B^m, from the products u[j] v[i] with i + j < m.
void multiply_schoolbook_low(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w,
                             std::size_t m);
// Karatsuba: (u1 B^h + u0)(v1 B^h + v0) from three half-size products,
// u0 v0, u1 v1 and (u0 + u1)(v0 + v1). Recursion goes through `multiply`
// with the transform disabled when allow_ntt is false.
void multiply_karatsuba(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w,
                        bool allow_ntt);
// Cyclic convolution modulo three primes below 2^30 (number-theoretic
// transform, length a power of two up to 2^23), the exact coefficients by
// Garner's CRT, then carries in base 10^9. A long operand is cut into pieces
// that fit the transform of the short one, which is computed once.
void multiply_ntt(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w);
// w := u * u, len(w) = 2 un, un >= 1, w not overlapping u: the transform
// product with one forward transform per prime instead of two (the
// dispatcher takes it when both operands are the same limbs).
void square_ntt(const Limb* u, std::size_t un, Limb* w);
// Dispatcher: chooses by the thresholds of engine/tuning.h and cuts
// unbalanced operands into pieces.
void multiply(const Limb* u, std::size_t un, const Limb* v, std::size_t vn, Limb* w,
              bool allow_ntt = true);

}  // namespace decimora::engine::kernels
