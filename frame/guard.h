// The outer guard of every worksheet method: the worker's answer, or the
// host error #VALUE! when the call itself fails (a value that cannot be
// converted at all, memory exhausted, ...). Nothing escapes to the host.
#pragma once

#include <string>
#include <type_traits>

#include "platform/variant.h"

namespace decimora::frame {

// f returns a result text (answered as Text) or a Value.
template <typename F>
Value GuardCall(F&& f) {
  try {
    if constexpr (std::is_same_v<std::decay_t<decltype(f())>, Value>) {
      return f();
    } else {
      return Value::Text(std::string(f()));
    }
  } catch (...) {
    return Value::Error(HostError::Value);
  }
}

}  // namespace decimora::frame
