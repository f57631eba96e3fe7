// Parity where the vectors cannot reach: a full cell's integer.
#include <gtest/gtest.h>

#include <string>

#include "functions/parity.h"

namespace decimora {
namespace {

TEST(Parity, FullCellIntegerIsDecidedByItsLastDigit) {
  const std::string odd = std::string(32766, '4') + "7";
  EXPECT_EQ(functions::IsOdd_Function(odd), Value::Bool(true));
  std::string plusOne = odd;
  plusOne.back() = '8';
  EXPECT_EQ(functions::EvenOdd_Function(Value::Text(odd), true, false), plusOne);
}

}  // namespace
}  // namespace decimora
