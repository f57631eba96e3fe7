#include "engine/digit_kernels.h"

#include <cstdint>
#include <cstring>

namespace decimora::engine::kernels {

namespace {
constexpr std::uint64_t kZeros = 0x3030303030303030ULL;   // '0' in every byte
constexpr std::uint64_t kTens = 0xF6F6F6F6F6F6F6F6ULL;    // 256 - 10 in every byte
constexpr std::uint64_t kLowBits = 0x0101010101010101ULL;

inline std::uint64_t Load(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  return __builtin_bswap64(x) - kZeros;
}
inline void Store(char* p, std::uint64_t x) {
  x = __builtin_bswap64(x + kZeros);
  std::memcpy(p, &x, 8);
}
// Bytes at 246..255 (top bit set) go back to 0..9; bytes at 0..9 stay.
inline std::uint64_t Normalise(std::uint64_t s) { return s - ((s >> 7) & kLowBits) * 246; }
}  // namespace

bool AllDecimalDigits(std::string_view s) {
  // A reduction without early exit, so the compiler vectorises it.
  unsigned bad = 0;
  for (char c : s) bad |= static_cast<unsigned>(static_cast<unsigned char>(c - '0') > 9);
  return bad == 0;
}

int add_digits_n(char* w, const char* u, const char* v, std::size_t n, int carry_in) {
  unsigned carry = static_cast<unsigned>(carry_in);
  while (n >= 8) {
    n -= 8;
    // Digit sums are at most 18 per byte, so only the last two additions can
    // carry out of the word.
    std::uint64_t t;
    std::uint64_t s;
    const bool c1 = __builtin_add_overflow(Load(u + n) + Load(v + n), kTens, &t);
    const bool c2 = __builtin_add_overflow(t, static_cast<std::uint64_t>(carry), &s);
    carry = static_cast<unsigned>(c1 || c2);
    Store(w + n, Normalise(s));
  }
  while (n > 0) {
    --n;
    unsigned s = static_cast<unsigned>(u[n] - '0') + static_cast<unsigned>(v[n] - '0') + carry;
    carry = s >= 10;
    w[n] = static_cast<char>('0' + s - 10 * carry);
  }
  return static_cast<int>(carry);
}

int sub_digits_n(char* w, const char* u, const char* v, std::size_t n, int borrow_in) {
  unsigned borrow = static_cast<unsigned>(borrow_in);
  while (n >= 8) {
    n -= 8;
    std::uint64_t t;
    std::uint64_t d;
    const bool b1 = __builtin_sub_overflow(Load(u + n), Load(v + n), &t);
    const bool b2 = __builtin_sub_overflow(t, static_cast<std::uint64_t>(borrow), &d);
    borrow = static_cast<unsigned>(b1 || b2);
    Store(w + n, Normalise(d));
  }
  while (n > 0) {
    --n;
    int d = (u[n] - '0') - (v[n] - '0') - static_cast<int>(borrow);
    borrow = d < 0;
    w[n] = static_cast<char>('0' + d + 10 * static_cast<int>(borrow));
  }
  return static_cast<int>(borrow);
}

}  // namespace decimora::engine::kernels
