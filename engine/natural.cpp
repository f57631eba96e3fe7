// Natural: conversion to and from digit text, addition, subtraction,
// comparison, small factors and shifts.

#include "engine/natural.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <charconv>
#include <cstring>
#include <stdexcept>

#include "engine/natural_kernels.h"

namespace decimora::engine {

namespace kernels {

Limb add_n(Limb* w, const Limb* v, std::size_t n) {
  Limb carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    Limb s = w[i] + v[i] + carry;  // < 2 * 10^9 + 1 < 2^32
    carry = s >= kLimbBase;
    w[i] = carry ? s - kLimbBase : s;
  }
  return carry;
}

Limb add_into(Limb* w, std::size_t wn, const Limb* v, std::size_t vn) {
  assert(vn <= wn);
  Limb carry = add_n(w, v, vn);
  for (std::size_t i = vn; carry && i < wn; ++i) {
    if (++w[i] == kLimbBase) {
      w[i] = 0;
    } else {
      carry = 0;
    }
  }
  return carry;
}

Limb sub_into(Limb* w, std::size_t wn, const Limb* v, std::size_t vn) {
  assert(vn <= wn);
  Limb borrow = 0;
  for (std::size_t i = 0; i < vn; ++i) {
    Limb d = v[i] + borrow;
    borrow = w[i] < d;
    w[i] = borrow ? w[i] + kLimbBase - d : w[i] - d;
  }
  for (std::size_t i = vn; borrow && i < wn; ++i) {
    if (w[i] == 0) {
      w[i] = kLimbBase - 1;
    } else {
      --w[i];
      borrow = 0;
    }
  }
  return borrow;
}

int compare_n(const Limb* u, const Limb* v, std::size_t n) {
  for (std::size_t i = n; i-- > 0;) {
    if (u[i] != v[i]) return u[i] < v[i] ? -1 : 1;
  }
  return 0;
}

Limb mul_small(Limb* w, const Limb* u, std::size_t n, std::uint32_t f) {
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::uint64_t t = std::uint64_t{u[i]} * f + carry;  // < 2^32 * 10^9 + 2^32
    carry = t / kLimbBase;
    w[i] = static_cast<Limb>(t - carry * kLimbBase);
  }
  return static_cast<Limb>(carry);  // carry < f, so it fits 32 bits
}

}  // namespace kernels

namespace {

constexpr std::uint32_t kPow10[10] = {1,      10,      100,      1000,      10000,
                                      100000, 1000000, 10000000, 100000000, 1000000000};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Value of exactly `n` (<= 9) digit characters; false on a non-digit.
bool ParseChunk(const char* p, std::size_t n, Limb& out) {
  Limb v = 0;
  for (std::size_t i = 0; i < n; ++i) {
    unsigned d = static_cast<unsigned char>(p[i]) - unsigned{'0'};
    if (d > 9) return false;
    v = v * 10 + d;
  }
  out = v;
  return true;
}

// Value of a full chunk of nine digit characters; false on a non-digit. The
// last eight are read as one word: each byte must be 0x30..0x39 (its high
// nibble 3, also after adding 6), then pairs, quads and the octet are
// combined with three multiplications.
bool ParseNine(const char* p, Limb& out) {
  const unsigned first = static_cast<unsigned char>(p[0]) - unsigned{'0'};
  std::uint64_t x;
  std::memcpy(&x, p + 1, 8);
  if (first > 9 || (((x & 0xF0F0F0F0F0F0F0F0ULL) | (((x + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL) >> 4)) !=
                    0x3333333333333333ULL)) {
    return false;
  }
  if constexpr (std::endian::native == std::endian::big) x = __builtin_bswap64(x);
  x -= 0x3030303030303030ULL;  // the first character now in the lowest byte
  x = (x * 10 + (x >> 8)) & 0x00FF00FF00FF00FFULL;
  x = (x * 100 + (x >> 16)) & 0x0000FFFF0000FFFFULL;
  x = (x * 10000 + (x >> 32)) & 0xFFFFFFFFULL;
  out = static_cast<Limb>(first * 100000000u + x);
  return true;
}

void Trim(std::vector<Limb>& limbs) {
  while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
}

}  // namespace

Natural::Natural(std::uint64_t value) {
  while (value != 0) {
    limbs_.push_back(static_cast<Limb>(value % kLimbBase));
    value /= kLimbBase;
  }
}

std::optional<Natural> Natural::FromDigits(std::string_view digits) {
  Natural result;
  std::vector<Limb>& limbs = result.limbs_;
  limbs.resize((digits.size() + kLimbDigits - 1) / kLimbDigits);
  // Full chunks from the right end; the leftmost chunk may be shorter.
  std::size_t end = digits.size();
  for (Limb& limb : limbs) {
    std::size_t n = std::min(end, kLimbDigits);
    if (!(n == kLimbDigits ? ParseNine(digits.data() + end - n, limb) : ParseChunk(digits.data() + end - n, n, limb))) {
      return std::nullopt;
    }
    end -= n;
  }
  Trim(limbs);
  return result;
}

Natural Natural::FromLimbs(std::vector<Limb> limbs) {
  assert(std::all_of(limbs.begin(), limbs.end(), [](Limb l) { return l < kLimbBase; }));
  Natural result;
  result.limbs_ = std::move(limbs);
  Trim(result.limbs_);
  return result;
}

std::size_t Natural::DigitCount() const {
  if (limbs_.empty()) return 1;
  std::size_t top = 1;
  while (top < 10 && limbs_.back() >= kPow10[top]) ++top;
  return (limbs_.size() - 1) * kLimbDigits + top;
}

void Natural::AppendDigits(std::string& out) const {
  if (limbs_.empty()) {
    out.push_back('0');
    return;
  }
  std::size_t start = out.size();
  out.resize(start + DigitCount());
  char* p = out.data() + start;
  auto [top_end, ec] = std::to_chars(p, p + kLimbDigits, limbs_.back());
  (void)ec;
  p = top_end;
  for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
    // Two digits per division: 9 digits as 1 + 4 pairs.
    Limb v = limbs_[i];
    for (std::size_t k = kLimbDigits - 1; k > 0; k -= 2) {
      const Limb pair = v % 100;
      v /= 100;
      p[k - 1] = kDigitPairs[2 * pair];
      p[k] = kDigitPairs[2 * pair + 1];
    }
    p[0] = static_cast<char>('0' + v);
    p += kLimbDigits;
  }
}

std::string Natural::ToDigits() const {
  std::string out;
  AppendDigits(out);
  return out;
}

int Compare(const Natural& a, const Natural& b) {
  const auto& u = a.Limbs();
  const auto& v = b.Limbs();
  if (u.size() != v.size()) return u.size() < v.size() ? -1 : 1;
  return kernels::compare_n(u.data(), v.data(), u.size());
}

Natural Add(const Natural& a, const Natural& b) {
  const Natural& longer = a.LimbCount() >= b.LimbCount() ? a : b;
  const Natural& shorter = a.LimbCount() >= b.LimbCount() ? b : a;
  std::vector<Limb> w(longer.LimbCount() + 1, 0);
  std::copy(longer.Limbs().begin(), longer.Limbs().end(), w.begin());
  kernels::add_into(w.data(), w.size(), shorter.Limbs().data(), shorter.LimbCount());
  return Natural::FromLimbs(std::move(w));
}

Natural Subtract(const Natural& a, const Natural& b) {
  if (a.LimbCount() < b.LimbCount()) throw std::domain_error("Subtract: a < b");
  std::vector<Limb> w = a.Limbs();
  if (kernels::sub_into(w.data(), w.size(), b.Limbs().data(), b.LimbCount()) != 0) {
    throw std::domain_error("Subtract: a < b");
  }
  return Natural::FromLimbs(std::move(w));
}

Natural MultiplySmall(const Natural& a, std::uint32_t factor) {
  std::vector<Limb> w(a.LimbCount() + 2, 0);
  std::uint64_t high = kernels::mul_small(w.data(), a.Limbs().data(), a.LimbCount(), factor);
  w[a.LimbCount()] = static_cast<Limb>(high % kLimbBase);
  w[a.LimbCount() + 1] = static_cast<Limb>(high / kLimbBase);
  return Natural::FromLimbs(std::move(w));
}

Natural DivideSmall(const Natural& a, std::uint32_t divisor, std::uint32_t* remainder) {
  if (divisor == 0) throw std::domain_error("DivideSmall: division by zero");
  std::vector<Limb> q(a.LimbCount());
  std::uint64_t rem = 0;
  for (std::size_t i = a.LimbCount(); i-- > 0;) {
    std::uint64_t cur = rem * kLimbBase + a.Limbs()[i];  // < 2^32 * 10^9 < 2^64
    q[i] = static_cast<Limb>(cur / divisor);
    rem = cur % divisor;
  }
  if (remainder != nullptr) *remainder = static_cast<std::uint32_t>(rem);
  return Natural::FromLimbs(std::move(q));
}

Natural ShiftLimbsLeft(const Natural& a, std::size_t limbs) {
  if (a.IsZero()) return a;
  std::vector<Limb> w(limbs + a.LimbCount(), 0);
  std::copy(a.Limbs().begin(), a.Limbs().end(), w.begin() + static_cast<std::ptrdiff_t>(limbs));
  return Natural::FromLimbs(std::move(w));
}

Natural ShiftLimbsRight(const Natural& a, std::size_t limbs) {
  if (limbs >= a.LimbCount()) return Natural();
  return Natural::FromLimbs(std::vector<Limb>(a.Limbs().begin() + static_cast<std::ptrdiff_t>(limbs),
                                              a.Limbs().end()));
}

Natural ShiftDecimalLeft(const Natural& a, std::size_t digits) {
  return ShiftLimbsLeft(MultiplySmall(a, kPow10[digits % kLimbDigits]), digits / kLimbDigits);
}

namespace {

// floor(a / (B^limbs * Divisor)) in one pass over the kept limbs. With the
// divisor a constant the compiler divides by multiplying, several times
// faster than the division instruction DivideSmall has to use.
template <std::uint32_t Divisor>
Natural DropLimbsAndDivide(const Natural& a, std::size_t limbs) {
  if (limbs >= a.LimbCount()) return Natural();
  const Limb* src = a.Limbs().data() + limbs;
  std::vector<Limb> q(a.LimbCount() - limbs);
  std::uint64_t rem = 0;
  for (std::size_t i = q.size(); i-- > 0;) {
    const std::uint64_t cur = rem * kLimbBase + src[i];
    q[i] = static_cast<Limb>(cur / Divisor);
    rem = cur % Divisor;
  }
  return Natural::FromLimbs(std::move(q));
}

}  // namespace

Natural ShiftDecimalRight(const Natural& a, std::size_t digits) {
  const std::size_t limbs = digits / kLimbDigits;
  switch (digits % kLimbDigits) {
    case 0: return ShiftLimbsRight(a, limbs);
    case 1: return DropLimbsAndDivide<10>(a, limbs);
    case 2: return DropLimbsAndDivide<100>(a, limbs);
    case 3: return DropLimbsAndDivide<1000>(a, limbs);
    case 4: return DropLimbsAndDivide<10000>(a, limbs);
    case 5: return DropLimbsAndDivide<100000>(a, limbs);
    case 6: return DropLimbsAndDivide<1000000>(a, limbs);
    case 7: return DropLimbsAndDivide<10000000>(a, limbs);
    default: return DropLimbsAndDivide<100000000>(a, limbs);
  }
}

}  // namespace decimora::engine
