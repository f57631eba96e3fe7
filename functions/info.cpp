#include "functions/info.h"

#include <string>

#include "engine/errors.h"
#include "frame/calculate.h"
#include "frame/guard.h"
#include "platform/convert.h"
#include "platform/system.h"

namespace decimora::functions {

Value dcmVERSION() { return Value::Text(kVersionText); }

Value dcmTEST() {
  return frame::GuardCall(
      [] { return "Welcome to Decimora " + std::string(kVersionText) + ", " + platform::UserLoginName() + "!"; });
}

Value dcmHelpfilePath() {
  return frame::GuardCall([] { return platform::LibraryDirectory() + "/" + std::string(kFunctionReferenceFile); });
}

Value dcmISERROR(const Value& num) {
  if (num.isArray()) return Value::Error(HostError::Value);
  if (num.isError()) return Value::Bool(true);
  const auto text = platform::VariantToText(num);
  return Value::Bool(text && engine::HasError(*text));
}

Value dcmISNUMBER(const Value& num) {
  if (num.isArray()) return Value::Error(HostError::Value);
  return frame::GuardCall([&] {
    // A host error's text is its description, never a number.
    const auto text = platform::VariantToText(num);
    return Value::Bool(text && frame::IsNumberText(*text));
  });
}

}  // namespace decimora::functions
