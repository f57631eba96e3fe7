// The dispatcher's sign decision for every operation and sign pair.
#include <gtest/gtest.h>

#include <string>

#include "engine/operands.h"
#include "tests/test_locale.h"

using namespace decimora;
using namespace decimora::engine;

namespace {

using decimora::testing::DefaultLocale;

using PrimitiveTest = DefaultLocale;

TEST_F(PrimitiveTest, SignDecisionTable) {
  struct {
    std::int16_t code;
    const char* a;
    const char* b;
    std::int16_t op;
    const char* o1;
    const char* o2;
    bool negative;
  } rows[] = {
      {1, "5", "7", 1, "5", "7", false},    {1, "5", "-7", 2, "5", "7", false},
      {1, "-5", "7", 2, "7", "5", false},   {1, "-5", "-7", 1, "5", "7", true},
      {2, "5", "7", 2, "5", "7", false},    {2, "5", "-7", 1, "5", "7", false},
      {2, "-5", "7", 1, "5", "7", true},    {2, "-5", "-7", 2, "7", "5", false},
      {3, "-5", "7", 3, "5", "7", true},    {4, "-5", "-7", 4, "5", "7", false},
      {6, "-5", "7", 6, "-5", "7", false},  {9, "5", "7", 0, "", "", false},
  };
  for (const auto& r : rows) {
    std::string a = r.a;
    std::string b = r.b;
    type_SignOp op = DecideSignOperation(r.code, a, b);
    EXPECT_EQ(op.Operation, r.op);
    EXPECT_EQ(op.Operand1, r.o1);
    EXPECT_EQ(op.Operand2, r.o2);
    EXPECT_EQ(op.Negative, r.negative);
  }
}

}  // namespace
