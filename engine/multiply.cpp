#include "engine/multiply.h"

#include <algorithm>
#include <optional>

#include "engine/natural.h"

namespace decimora::engine {

namespace {

std::optional<Natural> Product(std::string_view operand1, std::string_view operand2) {
  std::optional<Natural> a = Natural::FromDigits(operand1);
  std::optional<Natural> b = Natural::FromDigits(operand2);
  if (!a || !b) return std::nullopt;
  return Multiply(*a, *b);
}

}  // namespace

std::string MultiplyDigitStrings(std::string_view operand1, std::string_view operand2) {
  if (operand1.empty() || operand2.empty() || operand1 == "0" || operand2 == "0") return "0";
  try {
    std::optional<Natural> product = Product(operand1, operand2);
    if (!product) return "#VALUE!";
    return product->ToDigits();
  } catch (const std::exception&) {  // out of memory, operands beyond the transform
    return "#VALUE!";
  }
}

bool Multiply(std::string_view operand1, std::string_view operand2, std::string& buffer) {
  try {
    std::optional<Natural> product = Product(operand1, operand2);
    if (!product) return false;
    const std::string digits = product->ToDigits();
    if (digits.size() > buffer.size()) return false;
    std::copy(digits.begin(), digits.end(), buffer.begin());
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace decimora::engine
