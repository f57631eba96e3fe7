// The formula language of the command line: one worksheet-style expression
// per formula, e.g. =dcmADD("0.1", 0.2, , TRUE). Bare numbers stay text
// exactly as typed, so no digit is lost on the way to the library.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "api/cls_decimora.h"
#include "platform/variant.h"

namespace decimora::cli {

// A formula that cannot be read. Nothing of it has been evaluated.
struct FormulaError : std::runtime_error {
  FormulaError(std::size_t col, std::string msg)
      : std::runtime_error(msg), column(col), message(std::move(msg)) {}
  std::size_t column;   // 1-based, counted in characters (UTF-8 code points)
  std::string message;
};

// Calls nest at most this deep; deeper input is a syntax error rather than
// a stack overflow.
inline constexpr std::size_t kMaxNesting = 200;
// A call takes at most this many arguments, the limit of spreadsheet hosts;
// more is a syntax error, so a long line of empty positions cannot allocate
// a value for each.
inline constexpr std::size_t kMaxArguments = 255;

// Parses the whole formula first (throwing FormulaError), then evaluates it.
// Unknown function names answer the host error #NAME?; each one is appended
// to *unknown_names when given, so the caller can suggest a close name.
Value EvaluateFormula(cls_Decimora& dcm, std::string_view formula,
                      std::vector<std::string>* unknown_names = nullptr);

// Registered names close to an unknown one (best first, at most three);
// empty when nothing is close enough to be a likely typo.
std::vector<std::string> SuggestNames(std::string_view unknown);

}  // namespace decimora::cli
