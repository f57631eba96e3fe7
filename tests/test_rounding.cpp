// Rounding where the vectors cannot reach: a carry through a full cell.
#include <gtest/gtest.h>

#include <string>

#include "functions/rounding.h"

namespace decimora {
namespace {

TEST(Rounding, CarryAtCellLength) {
  const std::string nines(32766, '9');
  // A carry through every digit makes one digit more: 32,767 still fit a cell...
  EXPECT_EQ(functions::Round_Function(nines + ".5", 0, true, false, false), "1" + std::string(32766, '0'));
  // ...32,768 do not.
  EXPECT_EQ(functions::Round_Function(nines + "9", -1, true, false, false), "#NUM!");
  EXPECT_EQ(functions::Round_Function(nines + "9", -1, false, false, true), nines + "0");
}

}  // namespace
}  // namespace decimora
