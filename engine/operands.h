// The preparation the dispatcher gives every two-operand operation: the
// operation codes, the sign decision and the alignment of the decimal
// separators.
#pragma once

#include <cstdint>
#include <string>

namespace decimora::engine {

// Operation codes of the dispatcher.
enum : std::int16_t { kAdd = 1, kSubtract = 2, kMultiply = 3, kDivide = 4, kRoot = 5, kPower = 6 };

struct type_SignOp {
  std::int16_t Operation = 0;
  std::string Operand1;
  std::string Operand2;
  bool Negative = false;
};

struct type_DecPosFromEnd {
  double Position = 0;
  double Position1 = 0;
  double Position2 = 0;
  std::string Operand1_Trim;
  std::string Operand2_Trim;
  double Operand1_TrimLen = 0;
  double Operand2_TrimLen = 0;
};

struct type_RemoveDecimals {
  std::string Operand1_Trim;
  std::string Operand2_Trim;
  double Operand1_TrimLen = 0;
  double Operand2_TrimLen = 0;
};

// Turns a signed request into an operation on magnitudes and a sign. The
// caller's texts are moved into the record (left unspecified).
type_SignOp DecideSignOperation(std::int16_t code, std::string& a, std::string& b);

type_DecPosFromEnd AlignDecimalPositions(std::string operand1, std::string operand2, std::int16_t code);

type_RemoveDecimals RemoveOperandDecimals(std::string operand1, double len1, std::string operand2, double len2,
                                          double position1, double position2);

}  // namespace decimora::engine
