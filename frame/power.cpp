#include "frame/power.h"

#include <cstdint>
#include <optional>

#include "engine/cell_limits.h"
#include "engine/decimal.h"
#include "engine/natural.h"
#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/power_bounds.h"
#include "frame/steps.h"
#include "platform/convert.h"

namespace decimora::frame {

using namespace engine;

namespace {

// Nesting depth of Power_Function on this thread: only the outermost call
// (the user's) takes the overflow shortcut.
thread_local int t_depth = 0;


// Whole-number exponent arithmetic, exact. (At the dispatcher's precision
// M an exponent of more than about M digits would be rounded, and the split
// could leave a negative remainder that loses the power; below that length
// exact arithmetic gives the same splits.)
struct Split {
  std::string H, Q, R;
};

// The same search on machine integers, for exponents below 10^18.
struct SplitSmallResult {
  std::uint64_t H = 0, Q = 0, R = 0;
};

SplitSmallResult SearchSplitSmall(std::uint64_t e) {
  std::uint64_t best = e;
  std::uint64_t g = e;
  SplitSmallResult out;
  for (;;) {
    const std::uint64_t h = g / 2;
    if (h == 0) break;
    const std::uint64_t q = e / h;
    const std::uint64_t r = e - h * q;
    const std::uint64_t cost = q + h + r - 1 - (q > 0 ? 1 : 0);
    if (best <= cost) break;
    best = cost;
    out = {h, q, r};
    g = h;
  }
  return out;
}

Split SearchSplit(std::string_view eText) {
  if (eText.size() <= 18) {
    const SplitSmallResult s = SearchSplitSmall(std::stoull(std::string(eText)));
    return {std::to_string(s.H), std::to_string(s.Q), std::to_string(s.R)};
  }
  const Natural e = *Natural::FromDigits(eText);
  Natural best = e;
  Natural g = e;
  // Pass j halves g, so h = floor(e / 2^j); t = h * 2^j is kept alongside.
  // While e - t < h the quotient e / h is exactly 2^j, so a pass costs a few
  // linear operations instead of a division (the search runs about
  // log2(e) / 2 passes before it stops near the square root of e).
  Natural power = Natural(1);
  Natural t = e;
  Natural H, Q, R;
  for (;;) {
    std::uint32_t bit = 0;
    const Natural h = DivideSmall(g, 2, &bit);
    if (bit != 0) t = Subtract(t, power);
    power = MultiplySmall(power, 2);
    if (h.IsZero()) break;  // cannot happen for e > 3: the search stops near sqrt(e)
    Natural q;
    Natural r = Subtract(e, t);
    if (Compare(r, h) < 0) {
      q = power;
    } else {
      DivisionResult d = Divide(e, h);
      q = std::move(d.quotient);
      r = std::move(d.remainder);
    }
    Natural cost = Add(q, Add(h, r));
    const std::uint32_t less = (q.IsZero() ? 0 : 1) + 1;
    cost = Compare(cost, Natural(less)) >= 0 ? Subtract(cost, Natural(less)) : Natural();
    if (Compare(best, cost) <= 0) break;
    best = cost;
    H = h;
    Q = std::move(q);
    R = std::move(r);
    g = h;
  }
  return {H.ToDigits(), Q.ToDigits(), R.ToDigits()};
}

bool AtMost3(std::string_view e) { return !CompareDigitStrings(e, "3", false, true); }

// ---------------------------------------------------------------------------
// The splitting on decimal values: every product is a multiplication step
// (frame/steps.h), so no text is read or written per product.
// ---------------------------------------------------------------------------

bool IsUnit(const Natural& a) { return a.LimbCount() == 1 && a.Limbs()[0] == 1; }

const StepNumber& One() {
  static const StepNumber one(Decimal::Integer(1));
  return one;
}

// A step operand standing in for the rounded copy of itself the literal
// algorithm would have made: the value without the text it was read from
// (only the text handed to the dispatcher, should a result not fit, differs).
// (A reference, so that b times b stays one operand: the square path.)
const StepNumber& AsValue(const StepNumber& n, StepNumber& holder) {
  if (n.cut.empty()) return n;
  holder = n.ValueOnly();
  return holder;
}

// Calculate(3, a, 1, maxSD) for an a of the caller's to give up (the
// product of a split without remainder by b^0): when the rounding leaves a
// as it is, a is the product and is not copied.
StepNumber MultiplyByOne(StepNumber&& a, double maxSD) {
  if (!a.cut.empty() || a.value.IsZero() || !ComposeKeeps(a, WorkingPrecision(maxSD))) {
    return StepMultiply(a, One(), maxSD);
  }
  return std::move(a);
}

// Calculate(6, b, e, maxSD) for e of 0 to 3, internal, inputs not restricted.
StepNumber SmallPower(const StepNumber& b, int e, double maxSD) {
  if (b.IsError()) return b;
  auto viaDispatcher = [&]() { return StepPower(b, Decimal::Integer(static_cast<std::uint64_t>(e)), maxSD); };
  // The cleaning of the power's operands keeps kCleanUpDigits significant
  // digits; a longer base takes the dispatcher's way.
  const auto digits = static_cast<std::int64_t>(b.value.DigitCount());
  if (digits > static_cast<std::int64_t>(kCleanUpDigits)) return viaDispatcher();
  const double W = WorkingPrecision(maxSD);
  StepNumber R;
  if (e == 0) {
    R = One();
  } else if (b.value.IsZero() || b.value.IsOne() || e == 1) {
    R = b.ValueOnly();
  } else {
    const double D =
        1 + static_cast<double>(b.value.TextLength()) + (b.value.negative ? 1 : 0) - (b.value.frac > 0 ? 1 : 0);
    // The products start from 1, and 1 times b, rounded at D + W, is b
    // itself (D exceeds its digits) whenever its text fits a cell: then b
    // stands in for that product, and the second product is b times b.
    int i = 0;
    if (ComposeKeeps(b, WorkingPrecision(D + W))) {
      StepNumber holder;
      R = StepMultiply(AsValue(b, holder), b, D + W);
      i = 2;
    } else {
      R = One();
    }
    for (; i < e && !R.IsError(); ++i) R = StepMultiply(R, b, D + W);
  }
  if (R.IsError()) return R;
  ComposeStep(R, W);
  return R;
}

// Powers whose value is known without the products: every product the
// splitting would form gives these same values, so the answer is the same
// without the work. Sets `out` and answers true for those.
bool KnownPower(const StepNumber& b, bool oddExponent, StepNumber& out) {
  if (b.IsError() || b.value.IsOne()) {
    out = b;
  } else if (b.value.IsZero()) {
    out = StepNumber();  // also a power that fell below what a cell shows
  } else if (b.value.negative && b.value.frac == 0 && IsUnit(b.value.coef)) {
    Decimal one = Decimal::Integer(1);
    one.negative = oddExponent;
    out = StepNumber(std::move(one));
  } else {
    return false;
  }
  return true;
}

// The splitting for exponents below 10^18, on machine integers: the same
// search (SearchSplitSmall) and the same order of products as for texts.
StepNumber SplitSmall(const StepNumber& b, std::uint64_t e, double M) {
  if (e <= 3) return SmallPower(b, static_cast<int>(e), M);
  StepNumber known;
  if (KnownPower(b, e % 2 == 1, known)) return known;
  if (CertainUnderflow(b, e, M)) return StepNumber();

  const SplitSmallResult s = SearchSplitSmall(e);
  StepNumber P = SplitSmall(b, s.H, M);
  P = SplitSmall(P, s.Q, M);
  // b^0 and b^1 cost no work: b^0 is 1, and b^1 is b rounded, which is b
  // itself when the rounding keeps it. Those stand in for them.
  const bool plain = !b.IsError() && b.value.DigitCount() <= static_cast<std::size_t>(kCleanUpDigits);
  if (s.R == 0 && plain) return MultiplyByOne(std::move(P), M);
  if (s.R == 1 && plain && ComposeKeeps(b, WorkingPrecision(M))) {
    StepNumber holder;
    return StepMultiply(P, AsValue(b, holder), M);
  }
  const StepNumber T = SplitSmall(b, s.R, M);
  return StepMultiply(P, T, M);
}

StepNumber SplitLong(const StepNumber& b, const std::string& e, double M) {
  if (AtMost3(e)) return SmallPower(b, e.back() - '0', M);
  if (e.size() <= 18) return SplitSmall(b, std::stoull(e), M);
  StepNumber known;
  if (KnownPower(b, (e.back() - '0') % 2 == 1, known)) return known;
  if (CertainUnderflow(b, std::string_view(e), M)) return StepNumber();

  const Split s = SearchSplit(e);
  StepNumber P = SplitLong(b, s.H, M);
  P = SplitLong(P, s.Q, M);
  const StepNumber T = SplitLong(b, s.R, M);
  return StepMultiply(P, T, M);
}

// B^E for a fractional E >= 0 written num/den in lowest terms: the root of
// degree den of B raised to num, both dispatcher operations at precision
// D + M (D the operands' digit count, handed on with the input restriction).
std::string FractionalPower(const std::string& B, const std::string& E, double M, bool restrict_input_lengths,
                            double D) {
  const std::size_t at = E.find(GetDecimalSeparator());
  const std::string fraction = E.substr(at + 1);
  // E = num / 10^(its decimals); an integer part "0" adds nothing to num.
  const std::string numText = E.compare(0, at, "0") == 0 ? fraction : E.substr(0, at) + fraction;
  Natural num = *Natural::FromDigits(numText);
  Natural den = ShiftDecimalLeft(Natural(1), fraction.size());
  const Natural g = Gcd(num, den);
  if (!IsUnit(g)) {
    num = Divide(num, g).quotient;
    den = Divide(den, g).quotient;
  }
  const Value none;
  const double precision = D + M;
  const std::string R =
      Calculate(kRoot, Value::Text(B), Value::Text(den.ToDigits()), none, none, none, none, Value::Number(precision),
                true, restrict_input_lengths, Value::Number(D));
  if (HasError(R)) return R;
  return Calculate(kPower, Value::Text(R), Value::Text(num.ToDigits()), none, none, none, none,
                   Value::Number(precision), true, restrict_input_lengths, Value::Number(D));
}

}  // namespace

std::string PowerBySplitting(std::string_view b, std::string_view e, double M) {
  if (AtMost3(e)) return StepPower(StepNumber::FromText(b), StepNumber::FromText(e), M).Text();
  return SplitLong(StepNumber::FromText(b), std::string(e), M).Text();
}

std::string Power_Function(std::string B, std::string E, double M, bool restrict_input_lengths, const Value& D) {
  const bool outermost = t_depth == 0;
  ++t_depth;
  struct Leave {
    ~Leave() { --t_depth; }
  } leave;

  type_CleanUp e = CleanUp(E, true, true);
  if (e.IsError) return e.NumClean;
  type_CleanUp b = CleanUp(B, true, true);
  if (b.IsError) return b.NumClean;
  E = std::move(e.NumClean);
  B = std::move(b.NumClean);
  const char sep = GetDecimalSeparator();
  const bool eFraction = E.find(sep) != std::string::npos;
  const bool bFraction = B.find(sep) != std::string::npos;

  double digits = 0;
  if (D.isOmitted()) {
    digits = static_cast<double>(E.size() + B.size()) - (eFraction ? 1 : 0) - (bFraction ? 1 : 0);
  } else {
    const std::optional<double> d = platform::VariantToDouble(D);
    if (!d) return "#VALUE!";
    digits = *d;
  }
  if (restrict_input_lengths && ExceedsInputDigits(digits)) return "#NUM!";

  if (E == "0") return "1";
  if (B == "0") return "0";
  if (B == "1") return "1";
  if (E == "1") return B;
  if (eFraction && !IsNonNegative(B)) return "#NUM!";

  StepNumber base = StepNumber::FromText(B);
  if (!IsNonNegative(E)) {
    // A negative exponent: the reciprocal, a division step (which, like
    // every step, is the dispatcher's division).
    base = StepDivide(One(), base, digits + M);
    if (base.IsError()) return base.error;
    B = base.Text();
    E.erase(0, 1);
  }

  if (eFraction) return FractionalPower(B, E, M, restrict_input_lengths, digits);

  // E is a cleaned whole number without sign here: comparing its digits is
  // the numeric comparison.
  if (CompareDigitStrings(E, "3", false, true)) {
    // The same integer bound tells a power that cannot overflow; up to four
    // digits of exponent it saves the logarithms.
    const bool far = E.size() <= 4 && E.find_first_not_of("0123456789") == std::string::npos && !base.IsError() &&
                     !base.value.IsZero() && FarFromTheLimits(base, std::stoull(E));
    if (outermost && !far && CertainOverflow(B, E, M)) return "#NUM!";
    return SplitLong(base, E, M).Text();
  }
  // E is 1, 2 or 3: that many products, starting from 1.
  StepNumber product = One();
  for (int i = E.front() - '0'; i > 0; --i) {
    product = StepMultiply(product, base, digits + M);
    if (product.IsError()) return product.error;
  }
  return product.Text();
}

}  // namespace decimora::frame
