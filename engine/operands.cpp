#include "engine/operands.h"

#include <algorithm>
#include <utility>

#include "engine/division.h"
#include "engine/number_text.h"

namespace decimora::engine {

namespace {

// AbsText on a text of one's own, without a copy.
std::string Magnitude(std::string&& text) {
  if (!text.empty() && text.front() == '-') {
    text.erase(0, 1);
  } else if (!text.empty() && text.front() == '(') {
    if (text.size() >= 2) {
      text.pop_back();
      text.erase(0, 1);
    } else {
      text.clear();
    }
  }
  return std::move(text);
}

}  // namespace

type_SignOp DecideSignOperation(std::int16_t code, std::string& a, std::string& b) {
  type_SignOp op;
  const bool aNeg = !IsNonNegative(a);
  const bool bNeg = !IsNonNegative(b);
  // The operands are moved into the record (they may be very long).
  switch (code) {
    case kAdd:
      if (!aNeg && !bNeg) {
        op = {kAdd, std::move(a), std::move(b), false};
      } else if (!aNeg && bNeg) {
        op = {kSubtract, std::move(a), Magnitude(std::move(b)), false};
      } else if (aNeg && !bNeg) {
        op = {kSubtract, std::move(b), Magnitude(std::move(a)), false};
      } else {
        op = {kAdd, Magnitude(std::move(a)), Magnitude(std::move(b)), true};
      }
      break;
    case kSubtract:
      if (!aNeg && !bNeg) {
        op = {kSubtract, std::move(a), std::move(b), false};
      } else if (!aNeg && bNeg) {
        op = {kAdd, std::move(a), Magnitude(std::move(b)), false};
      } else if (aNeg && !bNeg) {
        op = {kAdd, Magnitude(std::move(a)), std::move(b), true};
      } else {
        op = {kSubtract, Magnitude(std::move(b)), Magnitude(std::move(a)), false};
      }
      break;
    case kMultiply:
    case kDivide:
      op = {code, Magnitude(std::move(a)), Magnitude(std::move(b)), aNeg != bNeg};
      break;
    case kRoot:
    case kPower:
      op = {code, std::move(a), std::move(b), false};
      break;
    default:
      break;  // an unknown code leaves the record empty
  }
  return op;
}

type_DecPosFromEnd AlignDecimalPositions(std::string operand1, std::string operand2, std::int16_t code) {
  type_DecPosFromEnd r;
  const char sep = GetDecimalSeparator();
  if (code == kAdd || code == kSubtract) {
    std::string a = std::move(operand1);
    std::string b = std::move(operand2);
    if (a.find(sep) == std::string::npos) a.push_back(sep);
    if (b.find(sep) == std::string::npos) b.push_back(sep);
    r.Position1 = static_cast<double>(a.size() - a.find(sep));
    r.Position2 = static_cast<double>(b.size() - b.find(sep));
    if (r.Position1 > r.Position2) {
      b.append(static_cast<std::size_t>(r.Position1 - r.Position2), '0');
      r.Position = r.Position1;
    } else if (r.Position1 < r.Position2) {
      a.append(static_cast<std::size_t>(r.Position2 - r.Position1), '0');
      r.Position = r.Position2;
    } else {
      r.Position = r.Position1;
    }
    r.Operand1_Trim = std::move(a);
    r.Operand2_Trim = std::move(b);
  } else {
    r.Operand1_Trim = std::move(operand1);
    r.Operand2_Trim = std::move(operand2);
    if (code == kMultiply || code == kDivide) {
      r.Position1 = DecimalPositionFromEnd(r.Operand1_Trim);
      r.Position2 = DecimalPositionFromEnd(r.Operand2_Trim);
      if (code == kMultiply) {
        if (r.Position1 != 0 && r.Position2 != 0) {
          r.Position = r.Position1 + r.Position2 - 1;
        } else {
          r.Position = r.Position1 != 0 ? r.Position1 : r.Position2;
        }
      } else {
        // An estimate of the quotient's integer digits; the dispatcher
        // replaces it by the position the division's digits give.
        r.Position = DivisionDecimalPosition(r.Operand1_Trim, r.Operand2_Trim);
      }
    }
  }
  r.Operand1_TrimLen = static_cast<double>(r.Operand1_Trim.size());
  r.Operand2_TrimLen = static_cast<double>(r.Operand2_Trim.size());
  return r;
}

type_RemoveDecimals RemoveOperandDecimals(std::string operand1, double len1, std::string operand2, double len2,
                                          double position1, double position2) {
  type_RemoveDecimals r;
  if (position1 != 0) RemoveDecimalPointInPlace(operand1);
  if (position2 != 0) RemoveDecimalPointInPlace(operand2);
  r.Operand1_Trim = std::move(operand1);
  r.Operand1_TrimLen = position1 != 0 ? len1 - 1 : len1;
  r.Operand2_Trim = std::move(operand2);
  r.Operand2_TrimLen = position2 != 0 ? len2 - 1 : len2;
  return r;
}

}  // namespace decimora::engine
