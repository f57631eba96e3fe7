// Remainders with a choice of quotient rounding and result sign, and the
// factorial and double factorial.
#include "functions/remainder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/multiply.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "engine/round.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/guard.h"
#include "frame/restrictionator.h"
#include "frame/steps.h"
#include "functions/rounding.h"
#include "functions/shared.h"
#include "platform/convert.h"

namespace decimora::functions {

using detail::FormatOptions;
using detail::TextOrFail;

namespace {

// The sign mode of a remainder, a 16-bit integer as the host converts it
// (rounded to the nearest, ties to even); 3 when omitted.
int SignMode(const Value& sign) {
  if (sign.isOmitted()) return 3;
  const auto d = platform::VariantToDouble(sign);
  if (!d) throw frame::CallFailed();
  const double r = std::nearbyint(*d);
  if (r < -32768 || r > 32767) throw frame::CallFailed();
  return static_cast<int>(r);
}

// The length of a number text for the precision of the quotient. An exponent
// form (1E+20, or a host number written so) is counted as the digits it
// stands for: its few characters would give a quotient too short to hold
// the integer part.
double OperandLength(const std::string& text) {
  return static_cast<double>(std::max(text.size(), engine::ReadNumberText(text).size()));
}

// The exact product of the factors, multiplied in a balanced tree so that
// the long products go through the fast multiplication.
engine::Natural TreeProduct(const std::vector<std::uint32_t>& factors) {
  // Pack small factors into 32-bit words first.
  std::vector<engine::Natural> level;
  std::uint64_t word = 1;
  for (std::uint32_t f : factors) {
    if (word * f > UINT32_MAX) {
      level.emplace_back(word);
      word = 1;
    }
    word *= f;
  }
  level.emplace_back(word);
  while (level.size() > 1) {
    std::vector<engine::Natural> next;
    next.reserve(level.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < level.size(); i += 2) next.push_back(engine::Multiply(level[i], level[i + 1]));
    if (level.size() % 2 == 1) next.push_back(std::move(level.back()));
    level = std::move(next);
  }
  return std::move(level.front());
}

// The digits of "1" multiplied by each factor in turn through the
// dispatcher with maximum significant digits maxSD: product :=
// Calculate(3, product, k, maxSD) for k in order, as multiplication steps.
//
// The dispatcher's only effect beyond the exact product is its rounding to
// maxSD + 2 significant digits (and "#NUM!" for an integer too long for a
// cell). While a product has at most that many digits nothing is rounded;
// the products only grow (every factor is at least 1), so when the final
// product is that short every step was exact, and the exact product, taken
// in any order (a balanced tree, fast), is the dispatcher's result.
std::string DispatcherProduct(const std::vector<std::uint32_t>& factors, double maxSD) {
  const double W = frame::WorkingPrecision(maxSD);
  const double kept = std::max(1.0, std::nearbyint(W + 1));
  const double exactLimit = std::min(kept, static_cast<double>(engine::kIntegerDigitsLimit - 1));

  // Cheap estimate first: the tree is worth building only when its product
  // may fit the bound.
  double log10 = 0;
  for (std::uint32_t f : factors) log10 += std::log10(static_cast<double>(f));
  if (log10 < exactLimit + 1) {
    engine::Natural exact = TreeProduct(factors);
    if (static_cast<double>(exact.DigitCount()) <= exactLimit) return exact.ToDigits();
  }
  frame::StepNumber product = engine::Decimal::Integer(1);
  for (std::uint32_t f : factors) {
    product = frame::StepMultiply(product, engine::Decimal::Integer(f), maxSD);
    if (product.IsError()) break;
  }
  return product.Text();
}

// The remainder a - b * q, q the quotient a / b rounded toward negative
// infinity (or toward zero), computed exactly on naturals as a signed plain
// number text; nullopt where an operand does not read as a number.
//
// The route divides to W = precision + 1 significant digits and takes the
// integer part of that. With a = A / 10^alpha and b = B / 10^beta the
// quotient is Q = N / M, N = A * 10^beta, M = B * 10^alpha. The leading
// digit of Q stands at most digits(N) - digits(M) places before the
// units, so one unit in its W-th digit is at most 10^(digits(N) -
// digits(M) + 1 - W), below 1 / M once W > digits(N) + 1 = digits(A) +
// beta + 1; the precision La + Lb + 5 (lengths at least the digit counts)
// gives W >= digits(A) + beta + 6. A Q that is not an integer lies at least
// 1 / M from every integer, so Q and its W-digit rounding have the same
// integer part either way of rounding; an integer Q has fewer than W
// digits and comes out exact; the product b * q and the difference are
// exact in the route too, so the exact remainder is its answer before its
// last rounding. Where the precision would be cut at the largest maxSD (a
// dividend of a cell's length), the route's quotient is rounded and its
// integer part may be wrong, or b * q too long for the composer; the exact
// quotient is still the one the operands stand for, so it is taken at every
// length: the remainder of a long number is small.
std::optional<std::string> ExactRemainder(const std::string& a, const std::string& b, bool use_trunc) {
  const std::string x = engine::ReadNumberText(a);
  const std::string y = engine::ReadNumberText(b);
  if (x.empty() || y.empty() || engine::HasError(x) || engine::HasError(y)) {
    return std::nullopt;
  }
  struct Scaled {
    bool negative;
    engine::Natural digits;
    std::size_t fraction;
  };
  const char sep = engine::GetDecimalSeparator();
  auto scale = [sep](std::string_view t) -> std::optional<Scaled> {
    const bool negative = !engine::IsNonNegative(t);
    if (negative) t.remove_prefix(1);
    const std::size_t at = t.find(sep);
    const std::size_t fraction = at == std::string_view::npos ? 0 : t.size() - at - 1;
    auto digits = engine::Natural::FromDigits(engine::RemoveDecimalPoint(t));
    if (!digits) return std::nullopt;
    return Scaled{negative, std::move(*digits), fraction};
  };
  auto u = scale(x);
  auto v = scale(y);
  if (!u || !v || v->digits.IsZero()) return std::nullopt;
  // a = sa N / 10^s and b = sb M / 10^s with s = alpha + beta; N = q M + R.
  // With equal signs, or truncation, or R = 0, the remainder is sa R / 10^s;
  // rounding a negative quotient down adds one to q, and the remainder
  // becomes sa (R - M) / 10^s: M - R with the divisor's sign.
  const engine::Natural N = engine::ShiftDecimalLeft(u->digits, v->fraction);
  const engine::Natural M = engine::ShiftDecimalLeft(v->digits, u->fraction);
  engine::DivisionResult qr = engine::Divide(N, M);
  bool negative = u->negative;
  engine::Natural R = std::move(qr.remainder);
  if (u->negative != v->negative && !use_trunc && !R.IsZero()) {
    R = engine::Subtract(M, R);
    negative = v->negative;
  }
  if (R.IsZero()) return std::string("0");
  std::string digits = R.ToDigits();
  const std::size_t s = u->fraction + v->fraction;
  if (s > 0) {
    if (digits.size() < s + 1) digits.insert(0, s + 1 - digits.size(), '0');
    digits.insert(digits.size() - s, 1, sep);
  }
  return negative ? "-" + digits : digits;
}

// Shared by the factorial and double factorial: the argument checks, the
// product, the composition.
template <typename Factors>
std::string FactorialWorker(const Value& num, double limit, bool start_at_integer_part, Factors factors_of,
                            const Value& format_negative, const Value& format_thousands, const Value& format_currency,
                            const Value& exponential_notation, const Value& maximum_significant_digits) {
  const std::string text = TextOrFail(num);
  const type_Restrictionator options = FormatOptions(format_negative, format_thousands, format_currency,
                                                     exponential_notation, maximum_significant_digits);
  const auto n = platform::VariantToDouble(num);
  if (!n) throw frame::CallFailed();
  // A text such as " -5" converts to a negative number without starting
  // with a minus sign; it is as much out of range as "-5".
  if (!engine::IsNonNegative(text) || *n > limit || *n < 0) return "#NUM!";
  double top = *n;
  if (start_at_integer_part) {
    const auto k0 = platform::TextToDouble(Int_Function(num));
    if (!k0) throw frame::CallFailed();
    top = *k0;
  }
  std::string product = top < 1 ? std::string("1") : DispatcherProduct(factors_of(top), options.maxSD);
  if (engine::HasError(product)) return product;
  return frame::ComposeNumberText(product, options, true);
}

}  // namespace

std::string Mod_Function(const Value& dividend, const Value& divisor, bool use_trunc, const Value& sign,
                         const Value& format_negative, const Value& format_thousands, const Value& format_currency,
                         const Value& exponential_notation, const Value& maximum_significant_digits) {
  const type_Restrictionator options = FormatOptions(format_negative, format_thousands, format_currency,
                                                     exponential_notation, maximum_significant_digits);
  const double maxSD = options.maxSD;
  const int mode = SignMode(sign);
  const std::string a = TextOrFail(dividend);
  const std::string b = TextOrFail(divisor);
  if (a.empty() || b.empty()) return "#VALUE!";
  // Error values of either operand come back unchanged, in the dispatcher's
  // priority (the quotient's integer part would turn them all into
  // "#VALUE!").
  if (auto e = engine::FirstError(a, b)) return *e;
  const Value zero = frame::CompareNumbers(b, "0", true, false);
  if (!zero.isBool()) throw frame::CallFailed();  // a divisor that is not a number
  if (zero.boolean()) return "#DIV/0!";

  // The remainder exactly on naturals where the operands read as numbers
  // (a long division by a short divisor costs a pass over the dividend,
  // where the dispatcher divides to the full precision), rounded as the
  // dispatcher's difference is; else by the dispatcher's steps.
  std::string r;
  if (auto exact = ExactRemainder(a, b, use_trunc)) {
    r = frame::StepAdd(frame::StepNumber::FromText(*exact), engine::Decimal(), maxSD).Text();
  } else {
    const double precision = OperandLength(a) + OperandLength(b) + 5;
    const frame::StepNumber A = frame::StepNumber::Read(a);
    const frame::StepNumber B = frame::StepNumber::Read(b);
    std::string q = frame::StepDivide(A, B, precision).Text();
    q = use_trunc ? Trunc_Function(q) : Int_Function(q);
    const frame::StepNumber p = frame::StepMultiply(B, frame::StepNumber::FromText(q),
                                                    OperandLength(b) + static_cast<double>(q.size()) + 5);
    r = frame::StepSubtract(A, p, maxSD).Text();
  }

  bool positive = engine::IsNonNegative(b);
  switch (mode) {
    case 1:
      positive = engine::IsNonNegative(r);
      break;
    case 2:
      positive = engine::IsNonNegative(a);
      break;
    case 4:
      positive = true;
      break;
    case 5:
      positive = false;
      break;
    default:
      break;
  }
  return frame::ComposeNumberText(r, options, positive);
}

std::string Mod_Function(std::string_view dividend, std::string_view divisor, bool use_trunc, double maxSD) {
  const Value none;
  return Mod_Function(Value::Text(std::string(dividend)), Value::Text(std::string(divisor)), use_trunc, none, none,
                      none, none, none, Value::Number(maxSD));
}

std::string Fact_Function(const Value& num, const Value& format_negative, const Value& format_thousands,
                          const Value& format_currency, const Value& exponential_notation,
                          const Value& maximum_significant_digits) {
  auto factors = [](double n) {
    std::vector<std::uint32_t> f;
    for (std::uint32_t k = 1; k <= n; ++k) f.push_back(k);
    return f;
  };
  return FactorialWorker(num, kMaxFactorialArgument, false, factors, format_negative, format_thousands, format_currency,
                         exponential_notation, maximum_significant_digits);
}

std::string FactDouble_Function(const Value& num, const Value& format_negative, const Value& format_thousands,
                                const Value& format_currency, const Value& exponential_notation,
                                const Value& maximum_significant_digits) {
  auto factors = [](double k0) {
    std::vector<std::uint32_t> f;
    for (auto k = static_cast<std::int64_t>(k0); k >= 1; k -= 2) f.push_back(static_cast<std::uint32_t>(k));
    return f;
  };
  return FactorialWorker(num, kMaxDoubleFactorialArgument, true, factors, format_negative, format_thousands,
                         format_currency, exponential_notation, maximum_significant_digits);
}

// --- Worksheet functions ----------------------------------------------------

Value dcmMOD(const Value& dividend, const Value& divisor, const Value& sign, const Value& format_negative,
             const Value& format_thousands, const Value& format_currency, const Value& exponential_notation,
             const Value& maximum_significant_digits) {
  return frame::GuardCall([&] {
    return functions::Mod_Function(dividend, divisor, false, sign, format_negative, format_thousands, format_currency,
                                   exponential_notation, maximum_significant_digits);
  });
}

Value dcmMODTRUNC(const Value& dividend, const Value& divisor, const Value& sign, const Value& format_negative,
                  const Value& format_thousands, const Value& format_currency, const Value& exponential_notation,
                  const Value& maximum_significant_digits) {
  return frame::GuardCall([&] {
    return functions::Mod_Function(dividend, divisor, true, sign, format_negative, format_thousands, format_currency,
                                   exponential_notation, maximum_significant_digits);
  });
}

// The same remainder as dcmMOD: the quotient rounded toward negative
// infinity, as its description says.
Value dcmREMAINDER(const Value& dividend, const Value& divisor, const Value& sign, const Value& format_negative,
                   const Value& format_thousands, const Value& format_currency, const Value& exponential_notation,
                   const Value& maximum_significant_digits) {
  return frame::GuardCall([&] {
    return functions::Mod_Function(dividend, divisor, false, sign, format_negative, format_thousands, format_currency,
                                   exponential_notation, maximum_significant_digits);
  });
}

Value dcmFACT(const Value& num, const Value& format_negative, const Value& format_thousands,
              const Value& format_currency, const Value& exponential_notation,
              const Value& maximum_significant_digits) {
  return frame::GuardCall([&] {
    return functions::Fact_Function(num, format_negative, format_thousands, format_currency, exponential_notation,
                                    maximum_significant_digits);
  });
}

Value dcmFACTDOUBLE(const Value& num, const Value& format_negative, const Value& format_thousands,
                    const Value& format_currency, const Value& exponential_notation,
                    const Value& maximum_significant_digits) {
  return frame::GuardCall([&] {
    return functions::FactDouble_Function(num, format_negative, format_thousands, format_currency, exponential_notation,
                                          maximum_significant_digits);
  });
}

}  // namespace decimora::functions
