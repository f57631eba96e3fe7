// The stored digits of pi, e, ln 2 and ln 10, compiled in from the data
// files of constants/ (tools/embed_constants.cmake writes the source that
// defines the Stored_* functions). Only functions/constants.cpp reads them;
// everything else asks Get_Pi, Get_E, Get_Ln2 or Get_Ln10.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace decimora::functions::detail {

struct StoredConstant {
  char leading;          // the integer digit
  std::string decimals;  // every stored decimal, in order
};

// The decimals are kept as pieces of at most 1,000 characters; joined once.
template <std::size_t N>
StoredConstant JoinPieces(char leading, const char* const (&pieces)[N], std::size_t length) {
  StoredConstant c{leading, {}};
  c.decimals.reserve(length);
  for (const char* piece : pieces) c.decimals += piece;
  return c;
}

const StoredConstant& Stored_pi();    // 32,766 decimals, the last rounded half up
const StoredConstant& Stored_e();     // 32,766 decimals, the last rounded half up
const StoredConstant& Stored_ln2();   // 40,050 decimals, truncated
const StoredConstant& Stored_ln10();  // 41,000 decimals, truncated

}  // namespace decimora::functions::detail
