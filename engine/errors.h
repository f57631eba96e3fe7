// Failures inside the engine that the calling function turns into its error
// value (the dispatcher answers "#VALUE!").
#pragma once

#include <stdexcept>

namespace decimora::engine {

// A character that is not a digit reached a digit operation.
struct ConversionFailure : std::runtime_error {
  ConversionFailure() : std::runtime_error("not a digit") {}
};

}  // namespace decimora::engine
