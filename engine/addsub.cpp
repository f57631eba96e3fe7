#include "engine/addsub.h"

#include <algorithm>
#include <cstring>

#include "engine/digit_kernels.h"
#include "engine/errors.h"
#include "engine/number_text.h"

namespace decimora::engine {

std::string AddDigitStrings(std::string_view a, std::string_view b) {
  if (!kernels::AllDecimalDigits(a) || !kernels::AllDecimalDigits(b)) throw ConversionFailure();
  if (a.size() < b.size()) std::swap(a, b);
  // One spare character in front for the final carry.
  std::string out(a.size() + 1, '0');
  const std::size_t head = a.size() - b.size();
  int carry = kernels::add_digits_n(out.data() + 1 + head, a.data() + head, b.data(), b.size(), 0);
  // The part of the longer operand above the shorter one takes the carry.
  std::size_t i = head;
  while (carry != 0 && i > 0) {
    --i;
    if (a[i] == '9') {
      out[1 + i] = '0';
    } else {
      out[1 + i] = static_cast<char>(a[i] + 1);
      carry = 0;
    }
  }
  std::memcpy(out.data() + 1, a.data(), i);
  if (carry != 0) {
    out[0] = '1';
    return out;
  }
  out.erase(0, 1);
  return out;
}

type_Subtraction SubtractDigitStrings(std::string_view a, std::string_view b, bool prefix_minus) {
  if (!kernels::AllDecimalDigits(a) || !kernels::AllDecimalDigits(b)) throw ConversionFailure();
  type_Subtraction r;
  bool negative = false;
  if (b.size() > a.size() || (b.size() == a.size() && b.compare(a) > 0)) {
    negative = true;
    std::swap(a, b);
  }
  std::string out(a.size(), '0');
  const std::size_t head = a.size() - b.size();
  int borrow = kernels::sub_digits_n(out.data() + head, a.data() + head, b.data(), b.size(), 0);
  std::size_t i = head;
  while (borrow != 0 && i > 0) {
    --i;
    if (a[i] == '0') {
      out[i] = '9';
    } else {
      out[i] = static_cast<char>(a[i] - 1);
      borrow = 0;
    }
  }
  std::memcpy(out.data(), a.data(), i);
  const std::size_t first = out.find_first_not_of('0');
  if (first == std::string::npos) {
    out = "0";
  } else {
    out.erase(0, first);
  }
  if (prefix_minus && negative) out.insert(out.begin(), '-');
  r.Difference = std::move(out);
  r.NegativeSubtraction = negative;
  return r;
}

}  // namespace decimora::engine
