#include "frame/steps.h"

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

// An exact result composed at maxSD, or the dispatcher's text where the
// composer would cut it.
StepNumber Finish(StepNumber exact, std::int16_t code, const StepNumber& a, const StepNumber& b, double maxSD) {
  if (!ComposeStep(exact, WorkingPrecision(maxSD))) return ViaText(code, a, b, maxSD);
  return exact;
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

bool ComposeStep(StepNumber& n, double W) {
  n.cut.clear();
  if (n.IsError()) return true;
  engine::RoundToDigits(n.value, KeptDigits(W));
  const CellRoom room = RoomFor(n.value.negative);
  if (n.value.IntegerChars() >= room.integerLimit) {
    n = StepNumber::Error("#NUM!");
    return true;
  }
  return n.value.TextLength() <= room.textLimit;
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
  return Finish(engine::Add(a.value, b.value), engine::kAdd, a, b, maxSD);
}

StepNumber StepSubtract(const StepNumber& a, const StepNumber& b, double maxSD) {
  if (a.IsError() || b.IsError()) return PassThrough(a, b);
  return Finish(engine::Subtract(a.value, b.value), engine::kSubtract, a, b, maxSD);
}

StepNumber StepMultiply(const StepNumber& a, const StepNumber& b, double maxSD) {
  if (a.IsError() || b.IsError()) return PassThrough(a, b);
  StepNumber out;
  if (a.value.IsOne()) {
    out.value = b.value;
  } else if (b.value.IsOne()) {
    out.value = a.value;
  } else {
    out.value = engine::Multiply(a.value, b.value);
  }
  return Finish(std::move(out), engine::kMultiply, a, b, maxSD);
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
  std::string A = a.value.coef.ToDigits();
  std::string B = b.value.coef.ToDigits();
  engine::type_Division_Osrel q = engine::Osrel_Divide(A, B, static_cast<std::int32_t>(W));
  if (engine::HasError(q.digits)) return StepNumber::Error(std::move(q.digits));
  std::int64_t fraction = -static_cast<std::int64_t>(q.powerOfTen) + a.value.frac - b.value.frac;
  std::optional<engine::Natural> digits = engine::Natural::FromDigits(q.digits);
  if (!digits) return StepNumber::Error("#VALUE!");
  StepNumber out;
  if (fraction < 0) {
    out.value = Decimal(a.value.negative != b.value.negative,
                        engine::ShiftDecimalLeft(*digits, static_cast<std::size_t>(-fraction)), 0);
  } else {
    out.value = Decimal(a.value.negative != b.value.negative, std::move(*digits), fraction);
  }
  out.value.Normalize();
  return Finish(std::move(out), engine::kDivide, a, b, maxSD);
}

StepNumber StepPower(const StepNumber& b, const StepNumber& e, double maxSD) {
  if (b.IsError() || e.IsError()) return PassThrough(b, e);
  return ViaText(engine::kPower, b, e, maxSD);
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
    case engine::kPower:
      return StepPower(a, b, maxSD);
    default:
      return ViaText(code, a, b, maxSD);
  }
}

}  // namespace decimora::frame
