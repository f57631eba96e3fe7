// The rules for error texts: any '#' marks an error, and of two operands the
// first error by priority passes on.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/errors.h"

namespace {

using decimora::engine::FirstError;
using decimora::engine::HasError;
using decimora::engine::IsErrorText;

TEST(ErrorTexts, RecognisedAndPassedOnByPriority) {
  EXPECT_TRUE(HasError("12#4"));
  EXPECT_FALSE(HasError("-1.5E+3"));
  EXPECT_TRUE(IsErrorText("#DIV/0!"));
  EXPECT_FALSE(IsErrorText("#N/A"));
  EXPECT_EQ(FirstError("#DIV/0!", "#NUM!"), "#NUM!");
  EXPECT_EQ(FirstError("#NUM!", "#VALUE!"), "#VALUE!");
  EXPECT_EQ(FirstError("1", "#DIV/0!"), "#DIV/0!");
  EXPECT_EQ(FirstError("#NUM", "12#4"), std::nullopt);  // only the three texts themselves
}

}  // namespace
