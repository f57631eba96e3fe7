#include "frame/steps.h"

#include <algorithm>
#include <cmath>

#include "engine/operands.h"
#include "engine/cell_limits.h"
#include "engine/division.h"
#include "engine/errors.h"
#include "engine/number_text.h"
#include "frame/calculate.h"

namespace decimora::frame {

using engine::Decimal;

namespace {

// The dispatcher's answer for operands with an error text: the first of
// "#VALUE!", "#NUM!", "#DIV/0!" that either operand is; any other error text
// does not read as a number, which is "#VALUE!".
StepNumber PassThrough(const StepNumber& a, const StepNumber& b) {
  return StepNumber::Error(engine::FirstError(a.error, b.error).value_or("#VALUE!"));
}

// The significant digits the composer keeps at working precision W.
std::size_t KeptDigits(double W) {
  double md = std::nearbyint(W + 1);
  if (!(md >= 1)) md = 1;
  return static_cast<std::size_t>(md);
}

// The cell's limits for a composed result: an integer part of `integerLimit`
// characters or more is "#NUM!", a text of more than `textLimit` characters
// is cut. A negative result gives one character to its sign.
struct CellRoom {
  std::int64_t integerLimit;
  std::int64_t textLimit;
};
CellRoom RoomFor(bool negative) {
  const auto integer = static_cast<std::int64_t>(engine::kIntegerDigitsLimit);
  const auto text = static_cast<std::int64_t>(engine::kCellCharacters);
  return negative ? CellRoom{integer - 1, text - 1} : CellRoom{integer, text};
}

// The result of the text dispatcher itself, for the rare results whose
// text the composer cuts to a cell's length.
StepNumber ViaText(std::int16_t code, const StepNumber& a, const StepNumber& b, double maxSD) {
  const Value none;
  return StepNumber::FromText(Calculate(code, Value::Text(a.Text()), Value::Text(b.Text()), none, none, none, none,
                                        Value::Number(maxSD), true, false));
}

// An exact result composed at maxSD.
StepNumber Finish(StepNumber exact, double maxSD) {
  ComposeStep(exact, WorkingPrecision(maxSD));
  return exact;
}

// v with its fraction cut to at most `keep` digits (toward zero).
Decimal TruncateFraction(const Decimal& v, std::int64_t keep) {
  if (v.frac <= keep) return v;
  const auto drop = static_cast<std::size_t>(v.frac - keep);
  if (drop >= v.DigitCount()) return Decimal();  // every significant digit lies past the cut
  const std::vector<engine::Limb>& limbs = v.coef.Limbs();
  std::vector<engine::Limb> kept(limbs.size());
  kept.resize(engine::ShiftDigitsDown(limbs.data(), limbs.size(), drop, kept.data()));
  Decimal out(v.negative, engine::Natural::FromLimbs(std::move(kept)), keep);
  out.Normalize();
  return out;
}

// The composer's length fitting of a text longer than `room` characters
// (the sign not counted), on the value: the text is rounded half up to
// room + 1 significant digits and then cut after its room-th character, so
// the value keeps the fraction digits that leave room for the integer part
// and the separator; a separator left last goes too. The composer's text
// keeps the zeros ending the kept digits where the number had them (not the
// zeros a carry of the rounding made of nines), so a value whose text they
// lengthen carries that text. Answers false when a carry of the rounding
// gives the integer part more characters than the room.
bool FitToRoom(StepNumber& n, std::int64_t room) {
  const Decimal original = n.value;
  Decimal& v = n.value;
  const bool negative = v.negative;
  engine::RoundToDigits(v, static_cast<std::size_t>(room) + 1);
  const std::int64_t integerChars = v.IntegerChars();
  if (integerChars > room) return false;
  const std::int64_t keep = std::max<std::int64_t>(room - 1 - integerChars, 0);
  v = TruncateFraction(v, keep);
  // A carry that reached the kept digits left only its own zeros at their
  // end, which the composer drops: the text is the normal one.
  // (Both are in normal form, so equal values have equal parts.)
  const Decimal cut = TruncateFraction(original, keep);
  if (v.frac != cut.frac || v.negative != cut.negative || !(v.coef == cut.coef)) return true;
  // Otherwise the text is room characters, or the integer part alone when
  // the cut leaves no fraction digit, with the number's own zeros.
  const auto length = static_cast<std::size_t>(keep == 0 ? integerChars : room);
  if (v.TextLength() < static_cast<std::int64_t>(length)) {
    std::string body = v.Text();
    if (v.negative) body.erase(0, 1);
    if (body.find(engine::GetDecimalSeparator()) == std::string::npos) body.push_back(engine::GetDecimalSeparator());
    body.append(length - body.size(), '0');
    n.cut = negative ? "-" + body : std::move(body);
  }
  return true;
}

}  // namespace

StepNumber StepNumber::Error(std::string text) {
  StepNumber n;
  n.error = std::move(text);
  return n;
}

StepNumber StepNumber::FromText(std::string_view text) {
  if (engine::HasError(text)) return Error(std::string(text));
  std::optional<Decimal> d = Decimal::Parse(text);
  if (!d) return Error("#VALUE!");
  StepNumber n(std::move(*d));
  std::string normal = n.value.Text();
  if (normal != text) n.cut = std::string(text);
  return n;
}

StepNumber StepNumber::Read(std::string_view text) {
  if (engine::IsErrorText(text)) return Error(std::string(text));
  const std::string plain = engine::ReadNumberText(text);
  if (engine::HasError(plain)) return Error("#VALUE!");
  return FromText(plain);
}

std::string StepNumber::Text() const {
  if (IsError()) return error;
  if (!cut.empty()) return cut;
  return value.Text();
}

StepNumber StepNumber::ValueOnly() const {
  if (IsError()) return Error(error);
  return StepNumber(value);
}

double WorkingPrecision(double maxSD) {
  const double m = maxSD > engine::kMaxSignificantDigits ? engine::kMaxSignificantDigits : (maxSD < 0 ? 0 : maxSD);
  return m + 1;
}

void ComposeStep(StepNumber& n, double W) {
  n.cut.clear();
  if (n.IsError()) return;
  engine::RoundToDigits(n.value, KeptDigits(W));
  const CellRoom room = RoomFor(n.value.negative);
  if (n.value.IntegerChars() >= room.integerLimit) {
    n = StepNumber::Error("#NUM!");
    return;
  }
  if (n.value.TextLength() > room.textLimit && !FitToRoom(n, room.textLimit)) n = StepNumber::Error("#NUM!");
}

bool ComposeKeeps(const StepNumber& n, double W) {
  if (n.IsError()) return false;
  const Decimal& v = n.value;
  if (v.coef.IsZero()) return !v.negative && v.frac == 0;
  if (v.frac > 0 && v.coef.Limbs()[0] % 10 == 0) return false;
  const CellRoom room = RoomFor(v.negative);
  return v.DigitCount() <= KeptDigits(W) && v.IntegerChars() < room.integerLimit && v.TextLength() <= room.textLimit;
}

StepNumber StepAdd(const StepNumber& a, const StepNumber& b, double maxSD) {
  if (a.IsError() || b.IsError()) return PassThrough(a, b);
  return Finish(engine::Add(a.value, b.value), maxSD);
}

StepNumber StepSubtract(const StepNumber& a, const StepNumber& b, double maxSD) {
  if (a.IsError() || b.IsError()) return PassThrough(a, b);
  return Finish(engine::Subtract(a.value, b.value), maxSD);
}

StepNumber StepMultiply(const StepNumber& a, const StepNumber& b, double maxSD) {
  if (a.IsError() || b.IsError()) return PassThrough(a, b);
  StepNumber out;
  const std::size_t kept = KeptDigits(WorkingPrecision(maxSD));
  if (a.value.IsOne()) {
    out.value = b.value;
  } else if (b.value.IsOne()) {
    out.value = a.value;
  } else if (a.value.DigitCount() + b.value.DigitCount() > kept + 2) {
    // The composer rounds half up to `kept` digits, which reads the first
    // digit past them and no other: the product's first kept + 1 digits
    // give the same result (a short product where the schoolbook runs).
    std::size_t D = 0;
    engine::Natural lead = engine::LeadingDigitsOfProduct(a.value.coef, b.value.coef, kept + 1, &D);
    std::int64_t frac = a.value.frac + b.value.frac - static_cast<std::int64_t>(D - std::min(D, kept + 1));
    if (frac < 0) {
      lead = engine::ShiftDecimalLeft(lead, static_cast<std::size_t>(-frac));
      frac = 0;
    }
    out.value = Decimal(a.value.negative != b.value.negative, std::move(lead), frac);
    out.value.Normalize();
  } else {
    out.value = engine::Multiply(a.value, b.value);
  }
  return Finish(std::move(out), maxSD);
}

StepNumber StepDivide(const StepNumber& a, const StepNumber& b, double maxSD) {
  if (a.IsError() || b.IsError()) return PassThrough(a, b);
  // The reciprocal's digits depend on how the divisor is written (zeros
  // ending its fraction take part in the iteration): an operand whose text
  // is not the normal form of its value goes the dispatcher's way.
  if (!a.cut.empty() || !b.cut.empty()) return ViaText(engine::kDivide, a, b, maxSD);
  const double W = WorkingPrecision(maxSD);
  // The dispatcher hands the division the digits without sign, separator
  // and leading zeros (the coefficients), and places the separator from the
  // quotient's power of ten and the operands' fraction digits.
  // A divisor of one or two limbs below 2^32 (the series' n (n - 1)) has a
  // division linear in the dividend with the same digits.
  const std::vector<engine::Limb>& divisor = b.value.coef.Limbs();
  const std::uint64_t small = divisor.size() == 1   ? divisor[0]
                              : divisor.size() == 2 ? divisor[1] * std::uint64_t{engine::kLimbBase} + divisor[0]
                                                    : UINT64_MAX;
  engine::Natural digits;
  std::int32_t power = 0;
  if (small <= UINT32_MAX) {
    engine::SmallQuotient q =
        engine::Osrel_DivideSmallDigits(a.value.coef, static_cast<std::uint32_t>(small), static_cast<std::int32_t>(W));
    if (!q.error.empty()) return StepNumber::Error(std::move(q.error));
    digits = std::move(q.digits);
    power = q.powerOfTen;
  } else {
    std::string A = a.value.coef.ToDigits();
    std::string B = b.value.coef.ToDigits();
    engine::type_Division_Osrel q = engine::Osrel_Divide(A, B, static_cast<std::int32_t>(W));
    if (engine::HasError(q.digits)) return StepNumber::Error(std::move(q.digits));
    std::optional<engine::Natural> read = engine::Natural::FromDigits(q.digits);
    if (!read) return StepNumber::Error("#VALUE!");
    digits = std::move(*read);
    power = q.powerOfTen;
  }
  std::int64_t fraction = -static_cast<std::int64_t>(power) + a.value.frac - b.value.frac;
  StepNumber out;
  if (fraction < 0) {
    out.value = Decimal(a.value.negative != b.value.negative,
                        engine::ShiftDecimalLeft(digits, static_cast<std::size_t>(-fraction)), 0);
  } else {
    out.value = Decimal(a.value.negative != b.value.negative, std::move(digits), fraction);
  }
  out.value.Normalize();
  return Finish(std::move(out), maxSD);
}

namespace {

// The dispatcher's power of a base longer than the power's cleaning keeps,
// to the exponent 2 or 3, on the value: the cleaning rounds the base half up
// to kCleanUpDigits significant digits; the products start from 1, at a
// precision of the operands' text lengths plus the working precision, which
// for a base this long is beyond the largest and so is the largest; the
// power is composed at the dispatcher's working precision.
StepNumber LongBasePower(const StepNumber& b, int e, double maxSD) {
  Decimal clean = b.value;
  engine::RoundToDigits(clean, static_cast<std::size_t>(engine::kCleanUpDigits));
  const StepNumber base(std::move(clean));
  StepNumber product(Decimal::Integer(1));
  for (int i = 0; i < e; ++i) {
    product = StepMultiply(product, base, engine::kMaxSignificantDigits);
    if (product.IsError()) return product;
  }
  ComposeStep(product, WorkingPrecision(maxSD));
  return product;
}

}  // namespace

StepNumber StepPower(const StepNumber& b, const StepNumber& e, double maxSD) {
  if (b.IsError() || e.IsError()) return PassThrough(b, e);
  if (b.cut.empty() && b.value.DigitCount() > static_cast<std::size_t>(engine::kCleanUpDigits) &&
      e.cut.empty() && !e.value.negative && e.value.frac == 0 && e.value.coef.LimbCount() == 1 &&
      (e.value.coef.Limbs()[0] == 2 || e.value.coef.Limbs()[0] == 3)) {
    return LongBasePower(b, static_cast<int>(e.value.coef.Limbs()[0]), maxSD);
  }
  return ViaText(engine::kPower, b, e, maxSD);
}

StepNumber StepRoot(const StepNumber& a, const StepNumber& n, double maxSD) {
  if (a.IsError() || n.IsError()) return PassThrough(a, n);
  // A root costs many divisions; reading and writing its operands' texts
  // once is nothing beside them.
  return ViaText(engine::kRoot, a, n, maxSD);
}

StepNumber Step(std::int16_t code, const StepNumber& a, const StepNumber& b, double maxSD) {
  switch (code) {
    case engine::kAdd:
      return StepAdd(a, b, maxSD);
    case engine::kSubtract:
      return StepSubtract(a, b, maxSD);
    case engine::kMultiply:
      return StepMultiply(a, b, maxSD);
    case engine::kDivide:
      return StepDivide(a, b, maxSD);
    case engine::kRoot:
      return StepRoot(a, b, maxSD);
    case engine::kPower:
      return StepPower(a, b, maxSD);
    default:
      return ViaText(code, a, b, maxSD);
  }
}

}  // namespace decimora::frame
