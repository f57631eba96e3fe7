// Division: the reciprocal and the quotient against a literal, slow
// transcription of the iteration (plain digit strings and
// MultiplyDigitStrings, every step as written), the rounding rule, and the
// small workers.
//
// The sample size is scaled by DECIMORA_DIVISION_SAMPLE (a multiplier, default
// 1; the sanitizer build divides it by 4). A one-off run with a multiplier of
// 10 or more compares tens of thousands of cases and prints the counts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "engine/division.h"
#include "engine/multiply.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "engine/round.h"

using namespace decimora;
using namespace decimora::engine;

namespace {

// ---- The literal transcription (the oracle) --------------------------------

struct Literal {
  std::string digits;
  long long powerOfTen = 0;
};

Literal LiteralInverse(const std::string& kBig, int p) {
  if (kBig == "1") return {"1", 0};
  if (kBig == "0") return {"#DIV/0!", 0};
  double t = std::log(std::strtod(kBig.substr(0, 17).c_str(), nullptr)) / 0.693147180559945;
  if (kBig.size() > 17) t += static_cast<double>(kBig.size() - 17) * 2.30258509299405 / 0.693147180559945;
  long long n = t == std::floor(t) ? static_cast<long long>(t) : static_cast<long long>(std::floor(t)) + 1;
  std::string z;
  long long u = 0;
  for (;;) {
    const double a = static_cast<double>(n) * 0.698970004336019;
    const double e = std::floor(a);
    double m = std::pow(10.0, a - e);
    u = n - (static_cast<long long>(e) + 1);
    z = std::to_string(static_cast<long>(std::floor(m)));
    m -= std::floor(m);
    const int c = static_cast<int>(std::nearbyint(std::min(16.0, e) / 2));
    for (int i = 0; i < c; ++i) {
      m *= 10;
      z += std::to_string(static_cast<long>(std::floor(m)));
      m -= std::floor(m);
    }
    if (static_cast<long long>(MultiplyDigitStrings(kBig, z).size()) <= n) break;
    ++n;
  }
  if (z.size() < static_cast<std::size_t>(p)) z.append(static_cast<std::size_t>(p) - z.size(), '0');

  auto step = [&](const std::string& zz) {
    std::string w = MultiplyDigitStrings(kBig, zz);
    const std::size_t L = w.size();
    for (std::size_t i = 0; i + 1 < L; ++i) w[i] = static_cast<char>('9' - w[i] + '0');
    if (w[L - 1] != '0') w[L - 1] = static_cast<char>('0' + 10 - (w[L - 1] - '0'));
    w.insert(w.begin(), '1');
    const char first = zz[0];
    std::string next = MultiplyDigitStrings(zz, w);
    if (next[0] < first) --u;
    return next;
  };
  const std::size_t keep = static_cast<std::size_t>(p) + 2;
  const long long s = static_cast<long long>(std::nearbyint(std::log(static_cast<double>(n)) +
                                                            std::log(static_cast<double>(p)) / 0.693147180559945));
  std::string last;
  for (long long i = 0; i < s; ++i) {
    last = step(z);
    z = last.substr(0, keep);
  }
  std::size_t k = 1;
  while (k < static_cast<std::size_t>(p)) {
    last = step(z);
    std::size_t j = k;
    while (j <= static_cast<std::size_t>(p) && last[j - 1] == z[j - 1]) ++j;
    k = j;
    z = last.substr(0, keep);
  }
  return {last.substr(0, static_cast<std::size_t>(p)), -(p + u)};
}

// The quotient's rounding on a plain digit string, as the rule reads: the
// rounding position is N + 1 plus the trailing zeros of Q.
std::string LiteralRoundDigits(std::string q, int N) {
  const std::size_t t = q.size() - 1 - q.find_last_not_of('0');
  const std::size_t r = static_cast<std::size_t>(N) + 1 + t;
  if (r > q.size()) return q;
  const bool up = q[r - 1] >= '5';
  for (std::size_t i = r - 1; i < q.size(); ++i) q[i] = '0';
  if (!up) return q;
  std::size_t i = r - 1;
  while (i > 0 && q[i - 1] == '9') q[--i] = '0';
  if (i == 0) return "1" + q;
  ++q[i - 1];
  return q;
}

// Osrel_Divide for two plain digit strings without leading zeros.
Literal LiteralDivide(const std::string& i, const std::string& k, int P) {
  if (k == "0") return {"#DIV/0!", 0};
  if (i[0] == '0') return {"0", 0};
  if (k == "1") return {i, 0};
  if (k == i) return {"1", 0};
  const int p = P + 3;
  const Literal R = LiteralInverse(k, p);
  std::string Q = MultiplyDigitStrings(i, R.digits);
  const long long L0 = static_cast<long long>(Q.size());
  long long e = R.powerOfTen + L0 - std::min<long long>(P, L0);
  Q.resize(static_cast<std::size_t>(p));
  std::string rounded = LiteralRoundDigits(Q, P);
  if (rounded.size() == Q.size() + 1) ++e;
  return {rounded.substr(0, static_cast<std::size_t>(P)), e};
}

// ---- Samples ----------------------------------------------------------------

double SampleScale() {
  double scale = 1;
  if (const char* env = std::getenv("DECIMORA_DIVISION_SAMPLE")) scale = std::atof(env);
#if defined(__SANITIZE_ADDRESS__)
  scale /= 4;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  scale /= 4;
#endif
#endif
  return scale;
}

std::string RandomDigits(std::mt19937_64& rng, std::size_t n) {
  std::string s(n, '0');
  for (char& c : s) c = static_cast<char>('0' + rng() % 10);
  s[0] = static_cast<char>('1' + rng() % 9);
  return s;
}

std::string Pow(unsigned base, unsigned e) {
  std::string r = "1";
  for (unsigned i = 0; i < e; ++i) r = MultiplyDigitStrings(r, std::to_string(base));
  return r;
}

// Divisors of every shape the iteration treats specially.
std::vector<std::string> StructuredDivisors() {
  std::vector<std::string> out;
  for (std::size_t n : {1, 2, 3, 5, 9, 16, 17, 18, 19, 25, 40, 120, 333, 1000, 2000}) {
    out.push_back("1" + std::string(n, '0'));          // powers of ten
    out.push_back(std::string(n, '9'));                // 99...9
    out.push_back("1" + std::string(n, '0') + "1");    // 10...01
    out.push_back("2" + std::string(n, '0') + "3");
  }
  for (unsigned e : {1, 2, 3, 7, 13, 20, 30, 64, 100, 400}) {
    out.push_back(Pow(5, e));
    out.push_back(Pow(2, e));
    out.push_back(Pow(3, e));
  }
  for (int d = 2; d <= 99; ++d) out.push_back(std::to_string(d));
  out.push_back("99999999999999999");
  out.push_back("12345678901234567");
  out.push_back("123456789012345678");
  return out;
}

struct Tally {
  int compared = 0;
  int mismatched = 0;
};

void CompareInverse(const std::string& k, int p, Tally& tally) {
  const Literal want = LiteralInverse(k, p);
  const type_Division_Osrel got = myInverse5(k, p);
  ++tally.compared;
  if (got.digits != want.digits || got.powerOfTen != want.powerOfTen) {
    ++tally.mismatched;
    ADD_FAILURE() << "myInverse5(" << (k.size() > 60 ? k.substr(0, 60) + "... (" + std::to_string(k.size()) + ")" : k)
                  << ", " << p << "): got " << got.digits.substr(0, 40) << " e" << got.powerOfTen << ", want "
                  << want.digits.substr(0, 40) << " e" << want.powerOfTen;
  }
}

}  // namespace

// ---- Worked examples ---------------------------------------------------------

TEST(Division, WorkedExamples) {
  struct Case {
    const char* i;
    const char* k;
    int P;
    const char* digits;
    int e;
  };
  for (const Case& c : {Case{"1", "3", 6, "333333", -6}, Case{"2", "3", 6, "666667", -6},
                        Case{"1", "7", 11, "14285714286", -11}, Case{"10", "4", 5, "25000", -4},
                        Case{"1", "9999", 8, "10001000", -11}, Case{"75", "25", 11, "30000000000", -10},
                        Case{"5", "1", 3, "5", 0}, Case{"123456789", "1", 3, "123456789", 0},
                        Case{"42", "42", 5, "1", 0}, Case{"0", "7", 5, "0", 0}, Case{"7", "0", 5, "#DIV/0!", 0},
                        Case{"7", "000", 5, "#DIV/0!", 0}, Case{"abc", "7", 5, "#NUM!", 0},
                        Case{"#VALUE!", "7", 5, "#VALUE!", 0}, Case{"7", "3", 0, "#NUM!", 0}}) {
    std::string i = c.i;
    std::string k = c.k;
    const type_Division_Osrel q = Osrel_Divide(i, k, c.P);
    EXPECT_EQ(q.digits, c.digits) << c.i << " / " << c.k;
    EXPECT_EQ(q.powerOfTen, c.e) << c.i << " / " << c.k;
  }
  const type_Division_Osrel r = myInverse5("4", 8);
  EXPECT_EQ(r.digits, "24999999");  // from below; the quotient's rounding restores 25000
  EXPECT_EQ(r.powerOfTen, -8);
  EXPECT_EQ(myInverse5("3", 9).digits, "333333333");
  // A zero divisor is a division by zero, however many zeros it has.
  EXPECT_EQ(myInverse5("0", 4).digits, "#DIV/0!");
  EXPECT_EQ(myInverse5("000", 10).digits, "#DIV/0!");
  EXPECT_EQ(myInverse5("0", 4).powerOfTen, 0);
  EXPECT_EQ(myInverse5("1", 40).digits, "1");
  EXPECT_EQ(myInverse5("12a", 5).digits, "#VALUE!");
  EXPECT_EQ(myInverse5("7", 0).digits, "#NUM!");
  EXPECT_EQ(myInverse5("007", 12).digits, myInverse5("7", 12).digits);
}

// The second fixed point one unit lower: the iteration stops at 999 * 10^-20,
// not at 100 * 10^-19.
TEST(Division, SecondFixedPointBelow) {
  const type_Division_Osrel r = myInverse5("99999999999999999", 3);
  EXPECT_EQ(r.digits, "999");
  EXPECT_EQ(r.powerOfTen, -20);
  const Literal want = LiteralInverse("99999999999999999", 3);
  EXPECT_EQ(want.digits, "999");
  EXPECT_EQ(want.powerOfTen, -20);
  // The same shape at a precision the direct path would otherwise take.
  for (int p : {9, 10, 15, 16, 17, 18, 30}) {
    Tally tally;
    CompareInverse("99999999999999999", p, tally);
    CompareInverse("9999999999999999999999999999999999", p, tally);
  }
}

TEST(Division, RoundToMaxSD) {
  EXPECT_EQ(RoundToMaxSD("123456", 3), "123000");
  EXPECT_EQ(RoundToMaxSD("123450", 3), "123500");  // the trailing zero moves the position
  EXPECT_EQ(RoundToMaxSD("0.6931471805", 5), "0.6931");
  EXPECT_EQ(RoundToMaxSD("1.23456", 3), "1.23");
  EXPECT_EQ(RoundToMaxSD("76677770", 5), "76677800");
  EXPECT_EQ(RoundToMaxSD("12.5", 2), "13");
  EXPECT_EQ(RoundToMaxSD("99.96", 3), "100");
  EXPECT_EQ(RoundToMaxSD("9995", 3), "10000");
  EXPECT_EQ(RoundToMaxSD("1.5E+3", 1), "1500");  // its trailing zeros move the position
  EXPECT_EQ(RoundToMaxSD("1.5E+3", 1.4), "1500");
  EXPECT_EQ(RoundToMaxSD("1.5", 1), "2");
  EXPECT_EQ(RoundToMaxSD("$1,234.5", 4), "1235");
  EXPECT_EQ(RoundToMaxSD("0.0004", 1), "0");  // rounded away entirely
  EXPECT_EQ(RoundToMaxSD("000", 3), "0");
  EXPECT_EQ(RoundToMaxSD("5", 0.5), "0");
  EXPECT_EQ(RoundToMaxSD("#DIV/0!", 3), "#DIV/0!");
  EXPECT_EQ(RoundToMaxSD("12a4", 2), "");
  EXPECT_EQ(RoundToMaxSD("1.2.3", 2), "");
  // On plain digit strings it is the quotient's rule.
  std::mt19937_64 rng(11);
  for (int i = 0; i < 2000; ++i) {
    std::string q = RandomDigits(rng, 2 + rng() % 30);
    if (rng() % 3 == 0) q.replace(q.size() - 1 - rng() % (q.size() - 1), std::string::npos, std::string(1, '0'));
    if (rng() % 4 == 0) q.back() = '0';
    const int N = 1 + static_cast<int>(rng() % q.size());
    std::string literal = LiteralRoundDigits(q, N);
    EXPECT_EQ(RoundToMaxSD(q, N).substr(0, static_cast<std::size_t>(N)),
              literal.substr(0, static_cast<std::size_t>(N)))
        << q << " to " << N;
  }
}

TEST(Division, SmallWorkers) {
  EXPECT_EQ(DivisionDecimalPosition("4", "10"), 1);
  EXPECT_EQ(DivisionDecimalPosition("4", "50"), 2);
  EXPECT_EQ(DivisionDecimalPosition("25", "75"), 1);
  EXPECT_EQ(DivisionDecimalPosition("3", "1"), 0);
  EXPECT_EQ(DivisionDecimalPosition("7", "7"), 1);
  EXPECT_EQ(DivisionDecimalPosition("123", "99999"), 3);
  EXPECT_EQ(GetHalfofLong(7), 3);
  EXPECT_EQ(GetHalfofLong(-7), -4);
  EXPECT_EQ(GetHalfofLong(-2147483647 - 1), -1073741824);
  EXPECT_EQ(Min(Value::Number(2), Value::Number(10)), Value::Number(2));
  EXPECT_EQ(Max(Value::Number(2), Value::Number(10)), Value::Number(10));
  EXPECT_EQ(Min(Value::Text("b"), Value::Text("abc")), Value::Text("abc"));
  EXPECT_EQ(Min(Value::Number(5), Value::Text("1")), Value::Number(5));  // a number sorts before text
  EXPECT_EQ(Max(Value::Bool(true), Value::Number(0)), Value::Number(0));  // TRUE is -1
  EXPECT_EQ(Min(Value::Number(3), Value::Number(3)), Value::Number(3));
  EXPECT_EQ(Min(Value::Error(HostError::NA), Value::Number(1)), Value::Error(HostError::Value));
}

// ---- Agreement with the literal transcription --------------------------------

TEST(DivisionAgreement, StructuredDivisors) {
  const std::vector<std::string> divisors = StructuredDivisors();
  std::mt19937_64 rng(2024);
  Tally tally;
  const double scale = SampleScale();
  for (const std::string& k : divisors) {
    std::vector<int> precisions = {4, 5, 9, 10, 11, 12, 13, 23, 103};
    if (scale >= 1) precisions.push_back(static_cast<int>(4 + rng() % 1000));
    for (int p : precisions) {
      if (k.size() > 400 && p > 200 && scale < 1) continue;
      CompareInverse(k, p, tally);
    }
  }
  std::printf("structured divisors: %d cases compared, %d mismatched\n", tally.compared, tally.mismatched);
}

TEST(DivisionAgreement, RandomDivisors) {
  std::mt19937_64 rng(7);
  const InverseStatistics before = GetInverseStatistics();
  Tally tally;
  const int count = static_cast<int>(6000 * SampleScale());
  for (int i = 0; i < count; ++i) {
    // Mostly short divisors and precisions, some long ones, a few very long.
    const unsigned shape = rng() % 10;
    const std::size_t K = shape < 6 ? 1 + rng() % 30 : (shape < 9 ? 1 + rng() % 300 : 1 + rng() % 2000);
    const int p = shape < 5 ? static_cast<int>(4 + rng() % 40) : static_cast<int>(4 + rng() % (shape < 9 ? 300 : 1000));
    std::string k = RandomDigits(rng, K);
    if (k == "1") k = "7";
    CompareInverse(k, p, tally);
  }
  const InverseStatistics after = GetInverseStatistics();
  std::printf("random divisors: %d cases compared, %d mismatched; %llu direct, %llu iterated\n", tally.compared,
              tally.mismatched, static_cast<unsigned long long>(after.direct - before.direct),
              static_cast<unsigned long long>(after.iterated - before.iterated));
}

// The cheap test of the direct path for short divisors names the very path
// myInverse5 takes (its counters tell), and the direct answer is the closed
// form floor((10^(K+p+1) - 1) / (100 k)).
TEST(DivisionAgreement, DirectPathForShortDivisors) {
  std::mt19937_64 rng(2026);
  int direct = 0;
  for (int i = 0; i < 3000; ++i) {
    const auto k = static_cast<std::uint32_t>(i < 200 ? 2 + i : 2 + rng() % (rng() % 3 == 0 ? 999999998 : 99999));
    const int p = static_cast<int>(1 + rng() % (i % 5 == 0 ? 2000 : 120));
    const std::string kText = std::to_string(k);
    const InverseStatistics before = GetInverseStatistics();
    const type_Division_Osrel r = myInverse5(kText, p);
    const bool tookDirect = GetInverseStatistics().direct > before.direct;
    ASSERT_EQ(InverseIsDirect(k, p), tookDirect) << k << " p=" << p;
    if (!tookDirect) continue;
    ++direct;
    if (k > 42'000'000) continue;  // 100 k must fit 32 bits
    const std::size_t L = kText.size() + static_cast<std::size_t>(p) + 1;
    const Natural closed = DivideSmall(Subtract(ShiftDecimalLeft(Natural(1), L), Natural(1)), 100 * k);
    EXPECT_EQ(r.digits, closed.ToDigits()) << k << " p=" << p;
    EXPECT_EQ(r.powerOfTen, -(p + static_cast<int>(kText.size()) - 1)) << k << " p=" << p;
  }
  EXPECT_GT(direct, 2000);
}

// The iteration kept in the product code (on limbs) is the literal one.
TEST(DivisionAgreement, IterationOnLimbs) {
  std::mt19937_64 rng(99);
  const int count = static_cast<int>(300 * SampleScale());
  for (int i = 0; i < count; ++i) {
    const std::string k = i < 40 ? std::to_string(2 + i) : RandomDigits(rng, 1 + rng() % 60);
    const int p = static_cast<int>(1 + rng() % 80);
    const Literal want = LiteralInverse(k, p);
    const type_Division_Osrel got = myInverse5_Iterate(k, p);
    EXPECT_EQ(got.digits, want.digits) << k << " p=" << p;
    EXPECT_EQ(got.powerOfTen, want.powerOfTen) << k << " p=" << p;
  }
}

TEST(DivisionAgreement, Quotients) {
  std::mt19937_64 rng(31);
  const int count = static_cast<int>(2000 * SampleScale());
  for (int n = 0; n < count; ++n) {
    std::string i = RandomDigits(rng, 1 + rng() % (n % 7 == 0 ? 400 : 25));
    std::string k = RandomDigits(rng, 1 + rng() % (n % 5 == 0 ? 300 : 20));
    if (n % 11 == 0) i = k + std::string(rng() % 4, '0');  // exact quotients: powers of ten
    if (n % 13 == 0) k = std::string(1 + rng() % 20, '9');
    const int P = static_cast<int>(1 + rng() % (n % 3 == 0 ? 200 : 20));
    const Literal want = LiteralDivide(i, k, P);
    std::string a = i;
    std::string b = k;
    const type_Division_Osrel got = Osrel_Divide(a, b, P);
    EXPECT_EQ(got.digits, want.digits) << i << " / " << k << " P=" << P;
    EXPECT_EQ(got.powerOfTen, want.powerOfTen) << i << " / " << k << " P=" << P;
  }
}

// The division by a divisor below 2^32 in linear time against the literal
// division (short precisions) and Osrel_Divide (long ones): dividends of
// every length around the limb boundaries, nines, exact multiples; divisors
// of the series (n (n - 1), odd n), powers of ten and the 32-bit edge.
TEST(DivisionAgreement, SmallDivisors) {
  std::mt19937_64 rng(1207);
  const int count = static_cast<int>(3000 * SampleScale());
  for (int n = 0; n < count; ++n) {
    const std::uint64_t m = 2 + rng() % 20000;
    std::uint32_t k = 0;
    switch (n % 6) {
      case 0:
        k = static_cast<std::uint32_t>(m * (m - 1));
        break;
      case 1:
        k = static_cast<std::uint32_t>(2 * m + 1);
        break;
      case 2:
        k = static_cast<std::uint32_t>(1 + rng() % 99);
        break;
      case 3: {
        static const std::uint32_t kEdges[] = {1, 10, 100, 1000000000, 999999999, 4294967295u, 4294967291u, 2147483648u};
        k = kEdges[rng() % std::size(kEdges)];
        break;
      }
      default:
        k = static_cast<std::uint32_t>(1 + rng() % UINT32_MAX);
        break;
    }
    const std::size_t lengths[] = {1, 8, 9, 10, 17, 18, 19, 27, 28, 1 + rng() % 40, 1 + rng() % 600};
    std::string i = RandomDigits(rng, lengths[rng() % std::size(lengths)]);
    if (n % 9 == 0) i = std::string(i.size(), '9');
    if (n % 10 == 0) i = MultiplyDigitStrings(std::to_string(k), RandomDigits(rng, 1 + rng() % 30));
    if (n % 7 == 0) i += std::string(rng() % 5, '0');
    if (n % 8 == 0) i = RandomDigits(rng, 1 + rng() % 30) + std::string(30 + rng() % 600, '0');
    const bool literal = n % 4 != 0;
    const int P = static_cast<int>(1 + rng() % (literal ? 60 : 700));
    std::string a = i;
    std::string b = std::to_string(k);
    const type_Division_Osrel want = Osrel_Divide(a, b, P);
    const type_Division_Osrel got = Osrel_DivideSmall(*engine::Natural::FromDigits(i), k, P);
    ASSERT_EQ(got.digits, want.digits) << i << " / " << k << " P=" << P;
    ASSERT_EQ(got.powerOfTen, want.powerOfTen) << i << " / " << k << " P=" << P;
    if (literal) {
      const Literal slow = LiteralDivide(i, std::to_string(k), P);
      ASSERT_EQ(got.digits, slow.digits) << i << " / " << k << " P=" << P;
      ASSERT_EQ(got.powerOfTen, slow.powerOfTen) << i << " / " << k << " P=" << P;
    }
  }
  // The reciprocal of a divisor is kept for the next division at the same
  // precision: again and again with other dividends, direct or iterated.
  for (const std::uint32_t k : {7u, 12u, 30u, 99u, 9900u, 3999999999u}) {
    for (int P : {8, 40, 300}) {
      for (int n = 0; n < 5; ++n) {
        const std::string i = RandomDigits(rng, 1 + rng() % 400);
        std::string a = i;
        std::string b = std::to_string(k);
        const type_Division_Osrel want = Osrel_Divide(a, b, P);
        const type_Division_Osrel got = Osrel_DivideSmall(*engine::Natural::FromDigits(i), k, P);
        ASSERT_EQ(got.digits, want.digits) << i << " / " << k << " P=" << P;
        ASSERT_EQ(got.powerOfTen, want.powerOfTen) << i << " / " << k << " P=" << P;
      }
    }
  }
  // Dividends past what CleanUp keeps, zero, and the early answers.
  const engine::Natural longest = *engine::Natural::FromDigits(std::string(32769, '7'));
  std::string a(32769, '7');
  std::string b = "7";
  EXPECT_EQ(Osrel_DivideSmall(longest, 7, 100).digits, Osrel_Divide(a, b, 100).digits);
  EXPECT_EQ(Osrel_DivideSmall(engine::Natural(), 7, 10).digits, "0");
  EXPECT_EQ(Osrel_DivideSmall(engine::Natural(7), 0, 10).digits, "#DIV/0!");
  EXPECT_EQ(Osrel_DivideSmall(engine::Natural(7), 7, 10).digits, "1");
  EXPECT_EQ(Osrel_DivideSmall(engine::Natural(7), 3, 0).digits, "#NUM!");
}

// Divisors of one limb with long dividends take the linear product and a
// kept reciprocal: the same digits as the literal division, also for the
// divisors whose reciprocal the start value hits exactly (2, 4, 5, 8, 25).
TEST(DivisionAgreement, ShortDivisorsOfLongDividends) {
  std::mt19937_64 rng(77);
  const int count = static_cast<int>(120 * SampleScale()) + 10;
  static const char* divisors[] = {"2", "4", "5", "8", "25", "3", "7", "9", "99", "125", "999999999", "100000000",
                                   "123456789", "65536"};
  for (int n = 0; n < count; ++n) {
    std::string i = RandomDigits(rng, 37 + rng() % (n % 4 == 0 ? 1500 : 300));
    if (n % 9 == 0) i = std::string(i.size(), '9');
    const std::string k = n % 3 == 0 ? RandomDigits(rng, 1 + rng() % 9) : divisors[rng() % std::size(divisors)];
    const int P = static_cast<int>(1 + rng() % (n % 2 == 0 ? i.size() + 20 : 60));
    for (int twice = 0; twice < 2; ++twice) {  // the second time with the kept reciprocal
      const Literal want = LiteralDivide(i, k, P);
      std::string a = i;
      std::string b = k;
      const type_Division_Osrel got = Osrel_Divide(a, b, P);
      EXPECT_EQ(got.digits, want.digits) << i.size() << " digits / " << k << " P=" << P;
      EXPECT_EQ(got.powerOfTen, want.powerOfTen) << i.size() << " digits / " << k << " P=" << P;
    }
    if (HasFailure()) return;
  }
}
