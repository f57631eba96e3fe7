// Every available function, fed awkward values in each of its first
// positions, answers with a value: nothing throws, nothing crashes (the
// sanitizer build runs this too), and a worksheet function's text answer is
// never longer than a cell holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "api/registry.h"

namespace {

using decimora::Array;
using decimora::HostError;
using decimora::Value;

std::vector<Value> AwkwardValues() {
  Array block(2, 2);
  block.at(1, 1) = Value::Text("1");
  block.at(1, 2) = Value::Text("abc");
  block.at(2, 1) = Value::Error(HostError::NA);
  return {
      Value::Omitted(),
      Value::Empty(),
      Value::Text(""),
      Value::Text("-0"),
      Value::Text("(0.00)"),
      Value::Text("abc"),
      Value::Text("#NAME?"),
      Value::Text("#DIV/0!"),
      Value::Text("1E+2000000000"),
      Value::Text("1E-40000"),
      Value::Text("-9.99999999999999999999E+30000"),
      Value::Text(std::string(32767, '9')),
      Value::Text("0." + std::string(40000, '0') + "1"),
      Value::Text("format:negative,thousands,currency,exponent,msd=99999999999999999999"),
      Value::Number(-1e300),
      Value::Bool(true),
      Value::Error(HostError::Value),
      Value::FromArray(block),
  };
}

TEST(Robustness, EveryFunctionAnswersAwkwardArguments) {
  ::setenv("XDG_CONFIG_HOME", ::testing::TempDir().c_str(), 1);
  decimora::cls_Decimora dcm;
  const std::vector<Value> awkward = AwkwardValues();
  for (const decimora::FunctionRow& row : decimora::FunctionTable()) {
    if (row.entry == nullptr) continue;
    const std::size_t positions = std::min<std::size_t>(row.params.size(), 3);
    for (std::size_t pos = 0; pos < positions; ++pos) {
      for (const Value& v : awkward) {
        std::vector<Value> args(row.params.size(), Value::Text("2"));
        args[pos] = v;
        Value result;
        ASSERT_NO_THROW(result = decimora::CallFunction(dcm, row, args)) << row.name << " position " << pos;
        // Public workers such as Min may hand an argument back as it came.
        if (result.isText() && row.category != decimora::kWorkerCategory) {
          EXPECT_LE(result.text().size(), 32767u) << row.name << " position " << pos;
        }
      }
    }
  }
}

}  // namespace
