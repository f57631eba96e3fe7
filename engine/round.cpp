#include "engine/round.h"

#include <cmath>

#include "engine/number_text.h"

namespace decimora::engine {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view s, char separator) {
  for (char c : s) {
    if (!IsDigit(c) && c != separator) return false;
  }
  return true;
}
}  // namespace

bool IncrementDigitsAt(std::string& digits, std::size_t last, char separator) {
  std::size_t i = last + 1;
  while (i > 0) {
    --i;
    char& c = digits[i];
    if (c == separator) continue;
    if (c == '9') {
      c = '0';
      continue;
    }
    ++c;
    return false;
  }
  return true;
}

double SignificantLimit(double m) {
  const double md = std::nearbyint(m);
  return md >= 1 ? md : 1;  // also catches NaN
}

std::string RoundToSignificant(std::string_view q, double m_in) {
  const double md = SignificantLimit(m_in);
  const std::size_t L = q.size();
  if (md >= static_cast<double>(L)) return std::string(q);  // the cut lies beyond the end
  const std::size_t m = static_cast<std::size_t>(md);
  const char sep = GetDecimalSeparator();
  const std::size_t sepAt = q.find(sep);

  // Rounds the first `keep` characters by the character at `decider` and
  // pads with zeros to `length` (+1 after a carry out of the first digit).
  auto roundAt = [&](std::size_t keep, std::size_t decider, std::size_t length, bool keepSeparator) {
    std::string head(q.substr(0, keep));
    if (!AllDigits(head, keepSeparator ? sep : '\0')) return std::string("#VALUE!");
    bool up = false;
    if (decider < L) {
      const char d = q[decider];
      if (!IsDigit(d)) return std::string("#VALUE!");
      up = d >= '5';
    }
    std::string out;
    out.reserve(length + 1);
    if (up && !head.empty() && IncrementDigitsAt(head, head.size() - 1, keepSeparator ? sep : '\0')) {
      out.push_back('1');
    } else if (up && head.empty()) {
      out.push_back('1');
    }
    out += head;
    out.append(length - keep, '0');
    return out;
  };

  if (sepAt == std::string_view::npos) {
    // A plain digit string: keep m digits, the next decides.
    return roundAt(m, m, L, false);
  }
  const std::size_t intLen = sepAt;  // characters before the separator
  if (intLen >= m) {
    // The cut falls in the integer part: the fraction goes. When the integer
    // part is exactly m long, the first fraction digit decides.
    std::string_view intPart = q.substr(0, intLen);
    const std::size_t decider = intLen == m ? sepAt + 1 : m;
    std::string head(intPart.substr(0, m));
    if (!AllDigits(head, '\0')) return std::string("#VALUE!");
    bool up = false;
    if (decider < L) {
      const char d = q[decider];
      if (!IsDigit(d)) return std::string("#VALUE!");
      up = d >= '5';
    }
    std::string out;
    out.reserve(intLen + 1);
    if (up && IncrementDigitsAt(head, head.size() - 1, '\0')) out.push_back('1');
    out += head;
    out.append(intLen - m, '0');
    return out;
  }
  // The separator lies inside the kept part: m digits and the separator. In a
  // number below 1 the leading "0", the separator and the zeros after it do
  // not count.
  std::size_t keep = m + 1;
  if (L >= 2 && q[0] == '0' && sepAt == 1) {
    std::size_t firstNonZero = 2;
    while (firstNonZero < L && q[firstNonZero] == '0') ++firstNonZero;
    if (firstNonZero >= L) return std::string(q);
    keep = firstNonZero + m;
  }
  if (L <= keep) return std::string(q);
  return roundAt(keep, keep, L, true);
}

}  // namespace decimora::engine
