// Non-negative integers of any length on base 10^9 limbs.
//
// The engine's interface is digit text; this layer is what the heavy kernels
// (multiplication, division, reciprocals) compute on. A Natural holds its value
// little-endian in limbs of nine decimal digits each, with no zero limb at the
// top (zero has no limbs), so that the conversion to and from digit text is a
// matter of cutting or writing 9-character chunks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace decimora::engine {

using Limb = std::uint32_t;
inline constexpr Limb kLimbBase = 1'000'000'000;
inline constexpr std::size_t kLimbDigits = 9;

class Natural {
 public:
  Natural() = default;  // zero
  explicit Natural(std::uint64_t value);

  // Reads a digit string ('0'..'9' only, leading zeros allowed, the empty
  // string is zero). Any other character gives nullopt.
  static std::optional<Natural> FromDigits(std::string_view digits);
  // Takes little-endian limbs (each < 10^9) and drops zero limbs at the top.
  static Natural FromLimbs(std::vector<Limb> limbs);

  // Decimal digits, most significant first, no leading zeros; "0" for zero.
  std::string ToDigits() const;
  // Appends the same digits to `out`.
  void AppendDigits(std::string& out) const;

  bool IsZero() const { return limbs_.empty(); }
  std::size_t LimbCount() const { return limbs_.size(); }
  std::size_t DigitCount() const;  // 1 for zero
  const std::vector<Limb>& Limbs() const { return limbs_; }

  friend bool operator==(const Natural&, const Natural&) = default;

 private:
  std::vector<Limb> limbs_;
};

// -1, 0 or 1 as a is less than, equal to or greater than b.
int Compare(const Natural& a, const Natural& b);

Natural Add(const Natural& a, const Natural& b);
// a - b; requires a >= b (std::domain_error otherwise).
Natural Subtract(const Natural& a, const Natural& b);

// a * factor, for any 32-bit factor.
Natural MultiplySmall(const Natural& a, std::uint32_t factor);
// floor(a / divisor), the remainder in *remainder when not null; divisor != 0
// (std::domain_error otherwise).
Natural DivideSmall(const Natural& a, std::uint32_t divisor, std::uint32_t* remainder = nullptr);

// a * 10^(9*limbs) and floor(a / 10^(9*limbs)).
Natural ShiftLimbsLeft(const Natural& a, std::size_t limbs);
Natural ShiftLimbsRight(const Natural& a, std::size_t limbs);
// a * 10^digits and floor(a / 10^digits).
Natural ShiftDecimalLeft(const Natural& a, std::size_t digits);
Natural ShiftDecimalRight(const Natural& a, std::size_t digits);

// Exact product. Picks schoolbook, Karatsuba or the number-theoretic transform
// by the size of the shorter operand (engine/tuning.h); an operand much
// longer than the other is cut into pieces, so 7 x 30,000 digits costs time
// linear in the long one.
Natural Multiply(const Natural& a, const Natural& b);
// floor((10^digits - 1) / b), b != 0: a reciprocal's digits. For long
// divisors it skips the long product a general division spends on the
// dividend, which here is all nines.
Natural DivideNines(std::size_t digits, const Natural& b);
// The first min(count, D) digits of a * b, where D, the product's digit
// count, goes to *digit_count. Below the Karatsuba threshold only the upper
// half of the long multiplication is summed, unless the lower half could
// carry into the digits kept.
Natural LeadingDigitsOfProduct(const Natural& a, const Natural& b, std::size_t count, std::size_t* digit_count);
// The individual methods, whatever the sizes (for tests and measurement).
// multiply_karatsuba falls back to schoolbook below its threshold but never
// uses the transform; multiply_ntt always does.
Natural multiply_schoolbook(const Natural& a, const Natural& b);
Natural multiply_karatsuba(const Natural& a, const Natural& b);
Natural multiply_ntt(const Natural& a, const Natural& b);
// a * a by the transform with one forward transform instead of two
// (Multiply(a, a) takes it by itself for long a).
Natural square_ntt(const Natural& a);

struct DivisionResult {
  Natural quotient;
  Natural remainder;
};

// a = quotient * b + remainder, 0 <= remainder < b; b != 0 (std::domain_error
// otherwise). Schoolbook for short divisors, Newton reciprocal for long ones.
DivisionResult Divide(const Natural& a, const Natural& b);
// floor((10^digits - 1) / b), b != 0: a reciprocal's digits. For long
// divisors it skips the long product a general division spends on the
// dividend, which here is all nines.
Natural DivideNines(std::size_t digits, const Natural& b);
// The first min(count, D) digits of a * b, where D, the product's digit
// count, goes to *digit_count. Below the Karatsuba threshold only the upper
// half of the long multiplication is summed, unless the lower half could
// carry into the digits kept.
Natural LeadingDigitsOfProduct(const Natural& a, const Natural& b, std::size_t count, std::size_t* digit_count);
// The individual methods, whatever the sizes (for tests and measurement).
DivisionResult divide_schoolbook(const Natural& a, const Natural& b);
DivisionResult divide_newton(const Natural& a, const Natural& b);

// The greatest common divisor, exact at any length; Gcd(a, 0) = a. Lehmer's
// method on binary words (engine/natural_gcd.cpp): quadratic with a small
// constant, so two 32,767-digit numbers take milliseconds.
Natural Gcd(const Natural& a, const Natural& b);
// Plain Euclid on Divide, one long division per quotient (the reference of
// the tests).
Natural gcd_euclid(const Natural& a, const Natural& b);

}  // namespace decimora::engine
