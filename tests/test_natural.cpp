// The limb layer checked against slow, literal references kept here: long
// multiplication and long division one decimal digit at a time.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/multiply.h"
#include "engine/natural.h"
#include "engine/tuning.h"

namespace decimora::engine {
namespace {

// ---- references: one decimal digit at a time, speed no concern ----------

std::string StripZeros(std::string s) {
  std::size_t i = s.find_first_not_of('0');
  return i == std::string::npos ? "0" : s.substr(i);
}

std::string RefMultiply(const std::string& a, const std::string& b) {
  std::vector<int> w(a.size() + b.size(), 0);
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      int t = w[i + j + 1] + (a[i] - '0') * (b[j] - '0');
      w[i + j + 1] = t % 10;
      w[i + j] += t / 10;
    }
  }
  std::string s;
  for (int d : w) s.push_back(static_cast<char>('0' + d));
  return StripZeros(s);
}

bool RefLess(const std::string& a, const std::string& b) {  // no leading zeros
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::string RefSubtract(const std::string& a, const std::string& b) {  // a >= b
  std::string r = a;
  int borrow = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    std::size_t ia = r.size() - 1 - i;
    int d = (r[ia] - '0') - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
    borrow = d < 0;
    r[ia] = static_cast<char>('0' + (d + 10) % 10);
  }
  return StripZeros(r);
}

std::string RefAdd(const std::string& a, const std::string& b) {
  std::string r(std::max(a.size(), b.size()) + 1, '0');
  int carry = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    int d = carry + (i < a.size() ? a[a.size() - 1 - i] - '0' : 0) + (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
    carry = d / 10;
    r[r.size() - 1 - i] = static_cast<char>('0' + d % 10);
  }
  return StripZeros(r);
}

// Long division: bring down a digit, subtract the divisor while it fits.
std::pair<std::string, std::string> RefDivide(const std::string& a, const std::string& b) {
  std::string q, r = "0";
  for (char c : a) {
    r = StripZeros(r + c);
    int digit = 0;
    while (!RefLess(r, b)) {
      r = RefSubtract(r, b);
      ++digit;
    }
    q.push_back(static_cast<char>('0' + digit));
  }
  return {StripZeros(q), r};
}

// ---- operands --------------------------------------------------------------

std::mt19937_64 rng(20240611);

std::string PowerOfTen(std::size_t zeros) {
  std::string s(zeros + 1, '0');
  s[0] = '1';
  return s;
}

std::string RandomDigits(std::size_t n) {
  std::string s(n, '0');
  for (char& c : s) c = static_cast<char>('0' + rng() % 10);
  if (n > 0) s[0] = static_cast<char>('1' + rng() % 9);
  return s;
}

// Operands of n digits in the shapes that break carry and limb handling.
std::vector<std::string> Shapes(std::size_t n) {
  std::vector<std::string> out;
  out.push_back(RandomDigits(n));
  out.push_back(std::string(n, '9'));  // longest carry chains
  out.push_back(PowerOfTen(n - 1));  // power of ten
  if (n >= 2) out.push_back("1" + std::string(n - 2, '0') + "1");
  std::string runs = RandomDigits(n);  // long runs of 9 and 0
  for (std::size_t i = 1; i < n; ++i) {
    if (rng() % 4 != 0) runs[i] = runs[i - 1] == '0' || runs[i - 1] == '9' ? runs[i - 1] : '9';
  }
  out.push_back(runs);
  return out;
}

Natural N(const std::string& digits) { return *Natural::FromDigits(digits); }

// Digit counts around limb boundaries and around every multiplication
// cut-over (in limbs, +-1 limb and +-1 digit).
std::vector<std::size_t> InterestingLengths() {
  std::vector<std::size_t> lengths = {1, 2, 8, 9, 10, 17, 18, 19, 27, 28};
  for (std::size_t limbs : {tuning::kKaratsubaThreshold, tuning::kNttThreshold}) {
    for (std::size_t l : {limbs - 1, limbs, limbs + 1}) {
      lengths.push_back(l * kLimbDigits);
      lengths.push_back(l * kLimbDigits + 1);
    }
  }
  return lengths;
}

// ---- conversion and the small operations -----------------------------------

TEST(NaturalText, RoundTripsDigitsAndRejectsOthers) {
  for (std::size_t n : {1, 8, 9, 10, 18, 19, 1000}) {
    for (const std::string& s : Shapes(n)) EXPECT_EQ(N(s).ToDigits(), s);
  }
  EXPECT_EQ(N("000000000000123").ToDigits(), "123");
  EXPECT_EQ(N("000000000000000000").ToDigits(), "0");
  EXPECT_TRUE(N("").IsZero());
  EXPECT_EQ(N("1000000000").LimbCount(), 2u);
  EXPECT_EQ(N("999999999").DigitCount(), 9u);
  EXPECT_EQ(Natural().DigitCount(), 1u);
  EXPECT_EQ(Natural(18446744073709551615ull).ToDigits(), "18446744073709551615");
  for (const char* bad : {"12a4", "-1", "1.5", " 1", "1 ", "1234567890123456789x"}) {
    EXPECT_FALSE(Natural::FromDigits(bad).has_value()) << bad;
  }
  // Full chunks are read nine characters at once: a character just outside
  // '0'..'9' at any place of any chunk is still refused.
  for (std::size_t at = 0; at < 27; ++at) {
    for (char c : {'/', ':', '\0', '\xff', '\xb0', '?'}) {
      std::string s(27, '7');
      s[at] = c;
      EXPECT_FALSE(Natural::FromDigits(s).has_value()) << at << " " << int(c);
    }
  }
}

TEST(NaturalSmallOps, AgreeWithDigitReferences) {
  for (std::size_t n : {1, 9, 10, 18, 19, 50}) {
    for (const std::string& a : Shapes(n)) {
      for (const std::string& b : Shapes(std::max<std::size_t>(1, n / 2 + 1))) {
        EXPECT_EQ(Add(N(a), N(b)).ToDigits(), RefAdd(a, b));
        if (!RefLess(a, b)) {
          EXPECT_EQ(Subtract(N(a), N(b)).ToDigits(), RefSubtract(a, b));
        }
        EXPECT_EQ(Compare(N(a), N(b)), RefLess(a, b) ? -1 : (a == b ? 0 : 1));
      }
      for (std::uint32_t f : {0u, 1u, 7u, 999999999u, 1000000000u, 4294967295u}) {
        const std::string fs = std::to_string(f);
        EXPECT_EQ(MultiplySmall(N(a), f).ToDigits(), RefMultiply(a, fs)) << a << " * " << f;
        if (f == 0) continue;
        std::uint32_t rem = 0;
        const auto [q, r] = RefDivide(a, fs);
        EXPECT_EQ(DivideSmall(N(a), f, &rem).ToDigits(), q);
        EXPECT_EQ(std::to_string(rem), r);
      }
      for (std::size_t k : {0, 1, 8, 9, 10, 19}) {
        EXPECT_EQ(ShiftDecimalLeft(N(a), k).ToDigits(), a + std::string(k, '0'));
        EXPECT_EQ(ShiftDecimalRight(N(a), k).ToDigits(), k >= a.size() ? "0" : a.substr(0, a.size() - k));
        EXPECT_EQ(ShiftLimbsRight(ShiftLimbsLeft(N(a), k), k), N(a));
      }
    }
  }
  EXPECT_EQ(Add(N("999999999999999999"), N("1")).ToDigits(), "1000000000000000000");
  EXPECT_THROW(Subtract(N("5"), N("6")), std::domain_error);
  EXPECT_THROW(Subtract(N("1"), N("1000000000")), std::domain_error);
  EXPECT_THROW(DivideSmall(N("5"), 0), std::domain_error);
}

// ---- multiplication ---------------------------------------------------------

TEST(NaturalMultiply, EveryMethodMatchesTheReferenceAtBoundaries) {
  const std::vector<std::size_t> lengths = InterestingLengths();
  for (std::size_t la : lengths) {
    for (std::size_t lb : {std::size_t{1}, std::size_t{9}, std::size_t{19}, la, la + 9}) {
      const std::vector<std::string> as = Shapes(la);
      const std::vector<std::string> bs = Shapes(lb);
      for (std::size_t i = 0; i < as.size(); ++i) {
        const std::string& a = as[i];
        const std::string& b = bs[(i + la) % bs.size()];
        // Past a few thousand digits the digit reference is too slow; limb
        // schoolbook, checked against it at the smaller sizes, stands in.
        const std::string expected =
            la * lb <= 4'000'000 ? RefMultiply(a, b) : multiply_schoolbook(N(a), N(b)).ToDigits();
        const Natural x = N(a), y = N(b);
        EXPECT_EQ(Multiply(x, y).ToDigits(), expected) << la << " x " << lb;
        EXPECT_EQ(multiply_schoolbook(x, y).ToDigits(), expected) << la << " x " << lb;
        EXPECT_EQ(multiply_karatsuba(x, y).ToDigits(), expected) << la << " x " << lb;
        EXPECT_EQ(multiply_ntt(x, y).ToDigits(), expected) << la << " x " << lb;
      }
    }
  }
}

TEST(NaturalMultiply, UnbalancedOperands) {
  for (std::size_t ls : {7, 100, 400, 1000}) {
    const std::string s = RandomDigits(ls);
    const std::string l = RandomDigits(ls < 400 ? 30000 : 9000);
    const std::string expected = ls <= 100 ? RefMultiply(s, l) : multiply_schoolbook(N(s), N(l)).ToDigits();
    EXPECT_EQ(Multiply(N(s), N(l)).ToDigits(), expected) << ls;
    EXPECT_EQ(Multiply(N(l), N(s)).ToDigits(), expected) << ls;
    EXPECT_EQ(multiply_karatsuba(N(s), N(l)).ToDigits(), expected) << ls;
    EXPECT_EQ(multiply_ntt(N(l), N(s)).ToDigits(), expected) << ls;
  }
}

TEST(NaturalMultiply, LongOperandsAgreeAcrossMethods) {
  const Natural a = N(RandomDigits(40000));
  const Natural b = N(RandomDigits(33000));
  EXPECT_EQ(multiply_ntt(a, b), multiply_karatsuba(a, b));
  // (10^n - 1)^2 = 10^2n - 2 10^n + 1 at 200,000 digits: every convolution
  // coefficient at its largest.
  const std::size_t n = 200000;
  const Natural nines = N(std::string(n, '9'));
  const std::string expected = std::string(n - 1, '9') + "8" + std::string(n - 1, '0') + "1";
  EXPECT_EQ(Multiply(nines, nines).ToDigits(), expected);
}

// The short product must give exactly the leading digits of the full one,
// also where a run of nines at the cut forces it to fall back (all-nines
// operands put one right below the leading digits).
TEST(NaturalMultiply, LeadingDigitsOfProductMatchTheFullProduct) {
  for (std::size_t la : {1, 30, 100, 500, 1000, 1200, 1300}) {
    for (std::size_t lb : {1, 40, 500, 1000, 1250}) {
      for (const std::string& a : Shapes(la)) {
        for (const std::string& b : Shapes(lb)) {
          const std::string full = multiply_schoolbook(N(a), N(b)).ToDigits();
          for (std::size_t count : {std::size_t{1}, std::size_t{5}, la, (la + lb) / 2, la + lb - 40, la + lb + 3}) {
            std::size_t digits = 0;
            const std::string lead = LeadingDigitsOfProduct(N(a), N(b), count, &digits).ToDigits();
            ASSERT_EQ(digits, full.size()) << la << " " << lb << " " << count;
            ASSERT_EQ(lead, full.substr(0, std::min(count, full.size()))) << la << " " << lb << " " << count;
          }
        }
      }
    }
  }
}

// The square path (one forward transform) against the general product of
// two separate copies, which takes two: every shape, at the limb and
// cut-over boundaries and at the sizes the powers square (a cell's digits).
TEST(NaturalMultiply, SquaresAgreeWithTheGeneralProduct) {
  std::vector<std::size_t> lengths = InterestingLengths();
  for (std::size_t l : {std::size_t{3000}, std::size_t{32768}, std::size_t{32769}, std::size_t{65536 + 7}}) {
    lengths.push_back(l);
  }
  for (std::size_t n : lengths) {
    for (const std::string& a : Shapes(n)) {
      const Natural x = N(a);
      const Natural copy = N(a);
      const Natural general = multiply_ntt(x, copy);
      EXPECT_EQ(square_ntt(x), general) << n;
      EXPECT_EQ(Multiply(x, x), general) << n;
    }
  }
  EXPECT_TRUE(square_ntt(Natural()).IsZero());
}

// ---- division ------------------------------------------------------------------

TEST(NaturalDivide, BothMethodsMatchLongDivision) {
  for (std::size_t lb : {1, 2, 9, 10, 18, 19, 28, 60, 200}) {
    for (std::size_t extra : {0, 1, 9, 10, 150}) {
      const std::vector<std::string> as = Shapes(lb + extra);
      const std::vector<std::string> bs = Shapes(lb);
      for (std::size_t i = 0; i < as.size(); ++i) {
        const std::string& a = as[i];
        const std::string& b = bs[(i * 3 + extra) % bs.size()];
        const auto [q, r] = RefDivide(a, b);
        for (auto method : {divide_schoolbook, divide_newton, Divide}) {
          const DivisionResult got = method(N(a), N(b));
          EXPECT_EQ(got.quotient.ToDigits(), q) << a << " / " << b;
          EXPECT_EQ(got.remainder.ToDigits(), r) << a << " / " << b;
        }
      }
    }
  }
  EXPECT_EQ(Divide(N("5"), N("7")).remainder.ToDigits(), "5");
  EXPECT_THROW(Divide(N("5"), Natural()), std::domain_error);
}

// a = q b + r rebuilt exactly, at the sizes where the Newton reciprocal and
// the block-wise quotient are used.
TEST(NaturalDivide, LongDivisionsRecoverQuotientAndRemainder) {
  struct Case {
    std::size_t quotient_digits, divisor_digits;
  };
  const std::size_t threshold_digits = tuning::kNewtonDivisionThreshold * kLimbDigits;
  for (Case c : {Case{33000, 33000}, Case{30000, 1500}, Case{threshold_digits, threshold_digits + 9},
                 Case{threshold_digits - 9, threshold_digits - 9}, Case{2000, 5000}}) {
    const Natural q = N(RandomDigits(c.quotient_digits));
    for (const std::string& bs : {RandomDigits(c.divisor_digits), PowerOfTen(c.divisor_digits - 1),
                                  std::string(c.divisor_digits, '9')}) {
      const Natural b = N(bs);
      for (const Natural& r : {Natural(), Subtract(b, Natural(1)), DivideSmall(b, 3)}) {
        const Natural a = Add(Multiply(q, b), r);
        for (auto method : {divide_newton, Divide}) {
          const DivisionResult got = method(a, b);
          EXPECT_EQ(got.quotient, q) << c.quotient_digits << " / " << c.divisor_digits;
          EXPECT_EQ(got.remainder, r) << c.quotient_digits << " / " << c.divisor_digits;
        }
      }
    }
  }
}

// Reciprocal digits: floor((10^N - 1) / b) for divisors around the cut-over
// to the reciprocal path, including those that divide a power of ten.
TEST(NaturalDivide, NinesOverDivisor) {
  const std::size_t threshold_digits = tuning::kNewtonDivisionThreshold * kLimbDigits;
  for (std::size_t lb : {std::size_t{1}, std::size_t{19}, threshold_digits / 2 - 9, threshold_digits / 2 + 9,
                         threshold_digits, std::size_t{1200}}) {
    for (const std::string& bs : {RandomDigits(lb), PowerOfTen(lb - 1), std::string(lb, '9'),
                                  Multiply(N(PowerOfTen(lb - 1)), Natural(5)).ToDigits()}) {
      const Natural b = N(bs);
      for (std::size_t N_ : {lb, lb + 1, lb + 8, 2 * lb - 1, 2 * lb + 5, 2 * lb + 9}) {
        const Natural nines = N(std::string(N_, '9'));
        EXPECT_EQ(DivideNines(N_, b), Divide(nines, b).quotient) << "N=" << N_ << " b has " << lb << " digits";
      }
    }
  }
  EXPECT_TRUE(DivideNines(2, N("1000")).IsZero());
  EXPECT_THROW(DivideNines(5, Natural()), std::domain_error);
}

// The reciprocal path corrects its estimate from the low half of a product
// only; long division, which shares none of it, must agree on many divisors.
TEST(NaturalDivide, NinesOverDivisorAgreesWithLongDivisionOnRandomDivisors) {
  for (int i = 0; i < 300; ++i) {
    const std::size_t lb = 700 + rng() % 1400;
    const std::vector<std::string> shapes = Shapes(lb);
    const Natural b = N(shapes[rng() % shapes.size()]);
    const std::size_t digits = lb + rng() % (lb + 10);
    EXPECT_EQ(DivideNines(digits, b), divide_schoolbook(N(std::string(digits, '9')), b).quotient)
        << "N=" << digits << " b has " << lb << " digits";
  }
}

// ---- the digit-string contract ----------------------------------------------------

TEST(MultiplyDigitStrings, FollowsTheTextContract) {
  EXPECT_EQ(MultiplyDigitStrings("0", "123"), "0");
  EXPECT_EQ(MultiplyDigitStrings("", "123"), "0");
  EXPECT_EQ(MultiplyDigitStrings("123", ""), "0");
  EXPECT_EQ(MultiplyDigitStrings("0", "12x"), "0");  // zero is decided before reading
  EXPECT_EQ(MultiplyDigitStrings("00", "5"), "0");
  EXPECT_EQ(MultiplyDigitStrings("007", "3"), "21");
  EXPECT_EQ(MultiplyDigitStrings("9", "9"), "81");
  EXPECT_EQ(MultiplyDigitStrings("10", "10"), "100");
  EXPECT_EQ(MultiplyDigitStrings("12a", "3"), "#VALUE!");
  EXPECT_EQ(MultiplyDigitStrings("3", "-4"), "#VALUE!");
  const std::string big = RandomDigits(5000);
  EXPECT_EQ(MultiplyDigitStrings("1", big), big);
  EXPECT_EQ(MultiplyDigitStrings("7", big), RefMultiply("7", big));
}

TEST(MultiplyDigitStrings, NativeRoutineFillsTheWorkBuffer) {
  std::string buffer(4, ' ');
  ASSERT_TRUE(Multiply("10", "10", buffer));
  EXPECT_EQ(buffer, "100 ");
  buffer.assign(2, ' ');
  ASSERT_TRUE(Multiply("9", "9", buffer));
  EXPECT_EQ(buffer, "81");
  const std::string big = RandomDigits(1000);
  buffer.assign(2000, ' ');
  ASSERT_TRUE(Multiply("7", big, buffer));
  const std::string expected = RefMultiply("7", big);
  EXPECT_EQ(buffer.substr(0, expected.size()), expected);
  EXPECT_EQ(buffer.find_first_not_of(' ', expected.size()), std::string::npos);
  buffer.assign(4, ' ');
  EXPECT_FALSE(Multiply("1x", "10", buffer));
  EXPECT_EQ(buffer, "    ");
  EXPECT_FALSE(Multiply("99", "99", buffer = "  "));  // too short for the product
}

// ---- greatest common divisor ----------------------------------------------

// Lengths around limb boundaries (9 digits) and binary word boundaries
// (19 to 20 digits per 64 bits), where the conversions and the leading-bit
// windows change shape.
std::size_t GcdLength() {
  static const std::size_t kEdges[] = {1, 2, 8, 9, 10, 17, 18, 19, 20, 21, 27, 28, 38, 39, 40, 57, 58, 77, 96, 135};
  const std::size_t base = kEdges[rng() % std::size(kEdges)];
  return rng() % 3 == 0 ? base + rng() % 200 : base;
}

TEST(NaturalGcd, LehmerMatchesEuclidOnShapedPairs) {
  for (int i = 0; i < 3000; ++i) {
    // A common factor of its own length, so the answers are not all 1, and
    // every fourth pair one multiple of the other plus a small offset, which
    // gives the huge single quotients that Lehmer's test cannot decide.
    const Natural g = N(RandomDigits(rng() % 2 == 0 ? GcdLength() : 1 + rng() % 4));
    const std::vector<std::string> xs = Shapes(GcdLength());
    const std::vector<std::string> ys = Shapes(GcdLength());
    const Natural x = Multiply(g, N(xs[rng() % xs.size()]));
    Natural y = Multiply(g, N(ys[rng() % ys.size()]));
    if (i % 4 == 0) y = Add(Multiply(x, N(RandomDigits(GcdLength()))), N(RandomDigits(1 + rng() % 12)));
    const Natural expected = gcd_euclid(x, y);
    EXPECT_EQ(Gcd(x, y).ToDigits(), expected.ToDigits()) << x.ToDigits() << " " << y.ToDigits();
    EXPECT_EQ(Gcd(y, x).ToDigits(), expected.ToDigits());
  }
}

TEST(NaturalGcd, SpecialPairs) {
  const Natural a = N(RandomDigits(500));
  EXPECT_EQ(Gcd(a, Natural()), a);
  EXPECT_EQ(Gcd(Natural(), a), a);
  EXPECT_EQ(Gcd(Natural(), Natural()), Natural());
  EXPECT_EQ(Gcd(a, Natural(1)), Natural(1));
  EXPECT_EQ(Gcd(a, a), a);
  EXPECT_EQ(Gcd(a, Add(a, a)), a);
  EXPECT_EQ(Gcd(N(PowerOfTen(700)), N(PowerOfTen(333))), N(PowerOfTen(333)));
  EXPECT_EQ(Gcd(N(PowerOfTen(700)), N("2" + std::string(400, '5'))), N("5"));
  EXPECT_EQ(Gcd(N(std::string(900, '9')), N(std::string(300, '9'))), N(std::string(300, '9')));
  // Consecutive Fibonacci numbers: every quotient is 1, the longest run of
  // Euclid steps for their size; the pair two apart shares nothing either.
  Natural f0(0), f1(1);
  for (int k = 0; k < 3000; ++k) {
    Natural f2 = Add(f0, f1);
    f0 = std::move(f1);
    f1 = std::move(f2);
    if (k % 500 == 499) {
      EXPECT_EQ(Gcd(f1, f0), Natural(1)) << k;
      EXPECT_EQ(Gcd(Add(f1, f0), f0), Natural(1)) << k;
      const Natural x = MultiplySmall(f1, 6), y = MultiplySmall(f0, 10);
      EXPECT_EQ(Gcd(x, y).ToDigits(), gcd_euclid(x, y).ToDigits()) << k;
    }
  }
}

TEST(NaturalGcd, LongOperandsAgreeWithEuclid) {
  // Cofactors of 1,500 digits keep the reference's Euclid short while the
  // operands (and the conversions) run to full length.
  for (std::size_t n : {9000u, 20000u, 32767u}) {
    const Natural g = N(RandomDigits(n - 1500));
    const Natural x = Multiply(g, N(RandomDigits(1500)));
    const Natural y = Multiply(g, N(RandomDigits(1493)));
    EXPECT_EQ(Gcd(x, y).ToDigits(), gcd_euclid(x, y).ToDigits()) << n;
  }
}

}  // namespace
}  // namespace decimora::engine
