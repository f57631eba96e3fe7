// Error texts, the one set of rules for recognising them, and failures
// inside the engine that the calling function turns into its error value
// (the dispatcher answers "#VALUE!").
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace decimora::engine {

// Whether a text carries an error. Every error text of the system holds '#'
// ("#VALUE!", "#NUM!", "#DIV/0!") and no number text does, so a result that
// holds one is an error to pass on, whatever else it holds.
constexpr bool HasError(std::string_view text) { return text.find('#') != std::string_view::npos; }

// True for exactly the three error texts that travel through the system.
constexpr bool IsErrorText(std::string_view text) { return text == "#VALUE!" || text == "#NUM!" || text == "#DIV/0!"; }

// The first of "#VALUE!", "#NUM!", "#DIV/0!" (in that priority) that one of
// the two texts is, if any: what a two-operand function passes on.
inline std::optional<std::string> FirstError(std::string_view a, std::string_view b) {
  for (std::string_view e : {"#VALUE!", "#NUM!", "#DIV/0!"}) {
    if (a == e || b == e) return std::string(e);
  }
  return std::nullopt;
}

// A character that is not a digit reached a digit operation.
struct ConversionFailure : std::runtime_error {
  ConversionFailure() : std::runtime_error("not a digit") {}
};

}  // namespace decimora::engine
