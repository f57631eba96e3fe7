// The greatest common divisor of two naturals, by Lehmer's method on binary
// words.
//
// Euclid's algorithm on the decimal limbs costs one long division per
// quotient, and a pair of 32,767-digit numbers has some 63,000 quotients.
// Lehmer's method runs Euclid on the leading 60 bits of both numbers with
// single-word cofactors for as long as those bits decide the quotients
// (Knuth's test, TAOCP 4.5.2 Algorithm L), then applies the collected 2 x 2
// matrix to the full numbers in one pass: about 30 bits of progress per pass
// over the words instead of a few. Binary words make the leading bits and
// the matrix products exact machine operations, so both numbers are
// converted to base 2^64 and the result converted back.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/natural.h"

namespace decimora::engine {

namespace {

using Word = std::uint64_t;
using Words = std::vector<Word>;  // little-endian, no zero word at the top
__extension__ typedef unsigned __int128 U128;  // GCC and Clang both have it
__extension__ typedef __int128 I128;

void Trim(Words& w) {
  while (!w.empty() && w.back() == 0) w.pop_back();
}

std::size_t BitLength(const Words& w) {
  return w.empty() ? 0 : 64 * w.size() - static_cast<std::size_t>(std::countl_zero(w.back()));
}

int CompareWords(const Words& a, const Words& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

// Bits [shift, shift + 64) of w (zero beyond its top).
Word BitsAt(const Words& w, std::size_t shift) {
  const std::size_t i = shift / 64;
  const unsigned r = static_cast<unsigned>(shift % 64);
  const Word lo = i < w.size() ? w[i] : 0;
  const Word hi = i + 1 < w.size() ? w[i + 1] : 0;
  return r == 0 ? lo : (lo >> r) | (hi << (64 - r));
}

// Base 10^9 limbs to binary words: Horner's rule, two limbs (a factor of
// 10^18) per pass.
Words ToWords(const Natural& n) {
  const std::vector<Limb>& limbs = n.Limbs();
  Words w;
  w.reserve(limbs.size() / 2 + 2);
  std::size_t i = limbs.size();
  auto step = [&w](Word factor, Word add) {
    U128 carry = add;
    for (Word& x : w) {
      const U128 t = static_cast<U128>(x) * factor + carry;
      x = static_cast<Word>(t);
      carry = t >> 64;
    }
    if (carry != 0) w.push_back(static_cast<Word>(carry));
  };
  if (i % 2 == 1) {
    --i;
    step(1, limbs[i]);
  }
  while (i > 0) {
    i -= 2;
    step(Word{kLimbBase} * kLimbBase, Word{limbs[i + 1]} * kLimbBase + limbs[i]);
  }
  Trim(w);
  return w;
}

// Binary words back to base 10^9 limbs: repeated division by 10^9, each
// word taken as two 32-bit halves so that every division is 64 by 32 bits
// by a constant.
Natural FromWords(Words w) {
  std::vector<Limb> limbs;
  limbs.reserve(w.size() * 64 / 29 + 1);
  while (!w.empty()) {
    Word r = 0;
    for (std::size_t i = w.size(); i-- > 0;) {
      const Word hi = (r << 32) | (w[i] >> 32);
      const Word qh = hi / kLimbBase;
      r = hi - qh * kLimbBase;
      const Word lo = (r << 32) | (w[i] & 0xFFFFFFFFu);
      const Word ql = lo / kLimbBase;
      r = lo - ql * kLimbBase;
      w[i] = (qh << 32) | ql;
    }
    limbs.push_back(static_cast<Limb>(r));
    Trim(w);
  }
  return Natural::FromLimbs(std::move(limbs));
}

Word WordGcd(Word a, Word b) {
  while (b != 0) {
    const Word r = a % b;
    a = b;
    b = r;
  }
  return a;
}

// a mod m for a single word m != 0.
Word ModWord(const Words& a, Word m) {
  U128 r = 0;
  for (std::size_t i = a.size(); i-- > 0;) r = ((r << 64) | a[i]) % m;
  return static_cast<Word>(r);
}

// a -= q * (b << k), where the caller guarantees the result is not negative.
void SubtractShiftedMultiple(Words& a, const Words& b, std::size_t k, Word q) {
  const std::size_t wk = k / 64;
  const unsigned bk = static_cast<unsigned>(k % 64);
  Word mul_carry = 0;
  Word borrow = 0;
  Word prev = 0;  // the word of b below the current one, for the bit shift
  for (std::size_t j = 0; wk + j < a.size(); ++j) {
    const Word cur = j < b.size() ? b[j] : 0;
    const Word shifted = bk == 0 ? cur : (cur << bk) | (prev >> (64 - bk));
    prev = cur;
    const U128 p = static_cast<U128>(shifted) * q + mul_carry;
    mul_carry = static_cast<Word>(p >> 64);
    const Word sub = static_cast<Word>(p);
    Word& x = a[wk + j];
    const Word d = x - sub;
    const Word b1 = x < sub;
    const Word d2 = d - borrow;
    const Word b2 = d < borrow;
    x = d2;
    borrow = b1 | b2;
    if (j >= b.size() + 1 && mul_carry == 0 && borrow == 0) break;
  }
  Trim(a);
}

// One step that always shrinks a (a >= b, b longer than a word): a loses a
// multiple of b, estimated from the leading bits so that it never exceeds a.
// Used where a is much longer than b and where Lehmer's test decides
// nothing.
void ReduceBySingleQuotient(Words& a, const Words& b) {
  const std::size_t na = BitLength(a);
  const std::size_t nb = BitLength(b);
  const std::size_t k = na > nb + 31 ? na - nb - 31 : 0;
  const std::size_t s = na - 62;  // b is longer than 64 bits, so na > 62
  const Word x = BitsAt(a, s) & ((Word{1} << 62) - 1);
  // (b << k) >> s, that is b >> (s - k); s >= k since nb > 64.
  const Word y = BitsAt(b, s - k);
  // q (y + 1) <= x makes q (b << k) < q (y + 1) 2^s <= x 2^s <= a.
  const Word q = x / (y + 1);
  SubtractShiftedMultiple(a, b, k, q == 0 ? 1 : q);
}

// Applies (a, b) := (A a + B b, C a + D b); both results are known to be
// non-negative, and A, B (and C, D) have opposite signs or a zero, so each
// column fits a signed 128-bit sum.
void ApplyMatrix(Words& a, Words& b, std::int64_t A, std::int64_t B, std::int64_t C, std::int64_t D) {
  b.resize(a.size(), 0);
  I128 ca = 0;
  I128 cb = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const Word x = a[i];
    const Word y = b[i];
    const I128 ta = static_cast<I128>(A) * static_cast<I128>(x) + static_cast<I128>(B) * static_cast<I128>(y) + ca;
    const I128 tb = static_cast<I128>(C) * static_cast<I128>(x) + static_cast<I128>(D) * static_cast<I128>(y) + cb;
    a[i] = static_cast<Word>(static_cast<U128>(ta));
    b[i] = static_cast<Word>(static_cast<U128>(tb));
    ca = ta >> 64;  // arithmetic shift: floor division by 2^64
    cb = tb >> 64;
  }
  Trim(a);
  Trim(b);
}

Words GcdWords(Words a, Words b) {
  for (;;) {
    if (CompareWords(a, b) < 0) std::swap(a, b);
    if (b.empty()) return a;
    if (b.size() == 1) {
      const Word g = WordGcd(b[0], ModWord(a, b[0]));
      return g == 0 ? Words{} : Words{g};
    }
    const std::size_t na = BitLength(a);
    if (na - BitLength(b) > 31) {
      ReduceBySingleQuotient(a, b);
      continue;
    }
    // The leading 60 bits of a and the bits of b at the same place. Every
    // quantity of the loop then stays below 2^61 in magnitude (Knuth's
    // bounds), so plain 64-bit arithmetic never overflows.
    const std::size_t s = na - 60;
    std::int64_t x = static_cast<std::int64_t>(BitsAt(a, s) & ((Word{1} << 60) - 1));
    std::int64_t y = static_cast<std::int64_t>(BitsAt(b, s) & ((Word{1} << 60) - 1));
    std::int64_t A = 1, B = 0, C = 0, D = 1;
    for (;;) {
      if (y + C == 0 || y + D == 0) break;
      const std::int64_t q = (x + A) / (y + C);
      if (q != (x + B) / (y + D)) break;
      std::int64_t t = A - q * C;
      A = C;
      C = t;
      t = B - q * D;
      B = D;
      D = t;
      t = x - q * y;
      x = y;
      y = t;
    }
    if (B == 0) {
      ReduceBySingleQuotient(a, b);
    } else {
      ApplyMatrix(a, b, A, B, C, D);
    }
  }
}

}  // namespace

Natural Gcd(const Natural& a, const Natural& b) {
  if (a.IsZero()) return b;
  if (b.IsZero()) return a;
  if (a == b) return a;
  // A long number and a short one (a running multiple and the next list
  // value, say): one division brings the long one down to the short one's
  // length, in time linear in its length, before the quadratic conversions.
  const Natural& big = a.LimbCount() >= b.LimbCount() ? a : b;
  const Natural& small = a.LimbCount() >= b.LimbCount() ? b : a;
  if (big.LimbCount() > small.LimbCount() + 2) {
    const Natural r = Divide(big, small).remainder;
    if (r.IsZero()) return small;
    return FromWords(GcdWords(ToWords(small), ToWords(r)));
  }
  return FromWords(GcdWords(ToWords(a), ToWords(b)));
}

Natural gcd_euclid(const Natural& a, const Natural& b) {
  Natural x = a;
  Natural y = b;
  while (!y.IsZero()) {
    Natural r = Divide(x, y).remainder;
    x = std::move(y);
    y = std::move(r);
  }
  return x;
}

}  // namespace decimora::engine
