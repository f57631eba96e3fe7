// Text extraction and exclusion. The subject and the patterns are texts of
// up to a cell each, and a range may give many patterns, so every step is
// linear in the subject (per pattern) and writes into buffers sized once:
// exclusion runs a string-matching automaton over the subject in place,
// extraction tries at each position only the patterns that begin with the
// character found there, and the result of an overlapping extraction, which
// can grow faster than the subject, stops at a cell's characters.

#include "functions/text.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "engine/cell_limits.h"
#include "engine/errors.h"
#include "engine/number_text.h"
#include "frame/compose.h"
#include "frame/guard.h"
#include "frame/lists.h"

namespace decimora::functions {

namespace {

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// Removes every occurrence of p from s in one pass, the first one left
// first. The text kept so far is a prefix of s (written in place); the
// matcher's state after each kept character is remembered, so that when the
// kept text ends in p, p is dropped and matching resumes in the state the
// kept text had before it. A removal can only join an occurrence ending
// further right, and the occurrence with the leftmost end is also the one
// with the leftmost start (all have p's length), so this removes exactly
// what "cut out the first occurrence until none is left" removes.
void RemoveAllOccurrences(std::string& s, std::string_view p) {
  const std::size_t m = p.size();
  if (m == 0 || s.size() < m || s.find(p) == std::string::npos) return;
  // fail[k]: the longest proper border of p[0..k].
  std::vector<std::uint32_t> fail(m, 0);
  for (std::size_t k = 1, b = 0; k < m; ++k) {
    while (b > 0 && p[k] != p[b]) b = fail[b - 1];
    if (p[k] == p[b]) ++b;
    fail[k] = static_cast<std::uint32_t>(b);
  }
  // state[w]: characters of p matched at the end of the first w kept ones.
  std::vector<std::uint32_t> state(s.size() + 1, 0);
  std::size_t w = 0;
  for (std::size_t r = 0; r < s.size(); ++r) {
    const char c = s[r];
    s[w] = c;
    std::size_t k = state[w];
    while (k > 0 && p[k] != c) k = fail[k - 1];
    if (p[k] == c) ++k;
    ++w;
    if (k == m) {
      w -= m;  // state[w] still holds the state before the occurrence
    } else {
      state[w] = static_cast<std::uint32_t>(k);
    }
  }
  s.resize(w);
}

// Where an unsigned plain mantissa ("1.5", "12", ".5") ends at an "E+" or
// "E-" and digits, the position of that "E"; else npos.
std::size_t ExponentOfNumber(std::string_view text) {
  const std::size_t e = text.rfind('E');
  if (e == std::string_view::npos || e + 2 >= text.size() || (text[e + 1] != '+' && text[e + 1] != '-')) {
    return std::string_view::npos;
  }
  for (std::size_t i = e + 2; i < text.size(); ++i) {
    if (!IsDigitChar(text[i])) return std::string_view::npos;
  }
  const char sep = engine::GetDecimalSeparator();
  bool digit = false;
  bool separator = false;
  for (char c : text.substr(0, e)) {
    if (IsDigitChar(c)) {
      digit = true;
    } else if (c == sep && !separator) {
      separator = true;
    } else {
      return std::string_view::npos;
    }
  }
  return digit ? e : std::string_view::npos;
}

// The result text written like a computed number. Its sign is taken off as
// it is written, a leading "-" or enclosing parentheses, and put back in the
// chosen negative format; a text whose sign stands elsewhere ("$-5") is
// written as it stands (putting a "-" before it would give "-$-5"). A
// number that ends in an exponent keeps the exponent's digits: the mantissa
// is composed and the exponent follows it (the composer would take the
// exponent's trailing zeros for fraction zeros: 1.5E+30 would become 1.5E+3).
std::string Compose(std::string_view text, const type_Restrictionator& options) {
  bool positive = true;
  if (!engine::IsNonNegative(text)) {
    if (text.front() == '-') {
      text.remove_prefix(1);
      positive = false;
    } else if (text.front() == '(' && text.size() >= 2 && text.back() == ')') {
      text = text.substr(1, text.size() - 2);
      positive = false;
    }
  }
  const std::size_t e = ExponentOfNumber(text);
  if (e == std::string::npos) {
    double position = engine::DecimalPositionFromEnd(text);
    return frame::ComposeResult(engine::RemoveDecimalPoint(text), position, positive, options);
  }
  type_Restrictionator plain = options;
  plain.FormatCurrency = false;
  plain.ExponentialNotation = false;
  std::string out = frame::ComposeNumberText(text.substr(0, e), plain, true);
  if (engine::HasError(out)) return out;
  const bool negative = !positive && out != "0";  // zero is never shown negative
  out.append(text.substr(e));
  if (options.FormatCurrency) {
    out = frame::AddCurrencySymbol(out);
    if (engine::HasError(out)) return out;
  }
  if (negative && options.FormatNegative != 0) out = options.FormatNegative == 2 ? "(" + out + ")" : "-" + out;
  return out.size() > engine::kCellCharacters ? std::string("#NUM!") : out;
}

// An error value as the subject (a host error read from the list, or an
// error text another function returned) is the answer as it stands: no
// pattern cuts it into a text that is no longer an error, and no scan
// turns it into an empty text.
bool IsErrorValueText(std::string_view text) { return ParseHostError(text).has_value() || text == "#EXPR!"; }

// Runs one of the four functions: gathering, the work on the subject, and
// the formatting.
template <typename Work>
Value TextFunction(std::span<const Value> numlist, Work work) {
  return frame::GuardCall([&] {
    TextArguments a = GatherTextArguments(numlist);
    if (IsErrorValueText(a.subject)) return a.subject;
    return Compose(work(a), a.options);
  });
}

}  // namespace

TextArguments GatherTextArguments(std::span<const Value> numlist) {
  frame::DirectiveReader directives(frame::kMaxSignificantDigits);
  TextArguments out;
  bool have_subject = false;
  frame::ListWalkOptions walk;
  walk.first_value_is_data = true;
  walk.values_are_text = true;
  frame::WalkList(
      numlist, directives,
      [&](const frame::ListItem& item) {
        if (!have_subject) {
          out.subject = item.text;
          have_subject = true;
        } else {
          out.patterns.push_back(item.text);
        }
        return true;
      },
      walk);
  out.options = directives.Options();
  return out;
}

std::string ExcludePatterns(std::string subject, const std::vector<std::string>& patterns) {
  for (const std::string& p : patterns) RemoveAllOccurrences(subject, p);
  return subject;
}

NumberScanner::NumberScanner() : separator_(engine::GetDecimalSeparator()) {}

void NumberScanner::ExponentSign(char sign, char*& out) {
  *out++ = 'E';
  *out++ = sign;
  exponent_sign_seen_ = true;
  exponent_allowed_ = false;
  mantissa_accepts_exponent_ = false;
  first_mantissa_digit_ = false;
  e_pending_ = false;
}

char* NumberScanner::Feed(char c, char* out) {
  if (IsDigitChar(c)) {
    *out++ = c;
    digit_seen_ = true;
    negate_ = false;
    e_pending_ = false;
    // An exponent follows only a mantissa with one digit before the
    // separator: the first digit opens that chance, a second one before any
    // separator closes it for good.
    if (exponent_allowed_) {
      if (!first_mantissa_digit_) {
        first_mantissa_digit_ = true;
        mantissa_accepts_exponent_ = true;
      } else if (!separator_seen_) {
        exponent_allowed_ = false;
        mantissa_accepts_exponent_ = false;
      }
    }
    return out;
  }
  if (c == separator_) {
    if (separator_seen_) return out;
    *out++ = c;
    digit_seen_ = true;
    separator_seen_ = true;
    negate_ = false;
    if (exponent_allowed_) mantissa_accepts_exponent_ = true;
    return out;
  }
  switch (c) {
    case '-':
      if (!digit_seen_) {
        *out++ = c;
        digit_seen_ = true;
      } else if (e_pending_) {
        ExponentSign('-', out);
      }
      break;
    case '+':
      if (exponent_allowed_ && e_pending_) ExponentSign('+', out);
      break;
    case '(':
      if (!digit_seen_) parenthesis_open_ = true;
      break;
    case ')':
      if (parenthesis_open_) negate_ = true;
      break;
    case 'E':
      if (mantissa_accepts_exponent_ && !exponent_sign_seen_) e_pending_ = true;
      break;
    default:
      break;
  }
  return out;
}

void NumberScanner::Finish(std::string& text) const {
  if (!text.empty() && text.back() == 'E') text.pop_back();
  if (text.size() >= 2 && text[text.size() - 2] == 'E') text.resize(text.size() - 2);
  if (negate_) text.insert(text.begin(), '-');
}

std::string ScanNumber(std::string_view text) {
  NumberScanner scanner;
  // Each character keeps at most two.
  std::string out(2 * text.size(), '\0');
  char* w = out.data();
  for (char c : text) w = scanner.Feed(c, w);
  out.resize(static_cast<std::size_t>(w - out.data()));
  scanner.Finish(out);
  return out;
}

std::string ExtractPatterns(std::string_view subject, const std::vector<std::string>& patterns, bool scan_numbers) {
  constexpr std::size_t kLimit = engine::kCellCharacters;
  // The patterns that begin with each byte, in list order.
  std::array<std::vector<std::uint32_t>, 256> starting_with;
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    if (!patterns[i].empty()) {
      starting_with[static_cast<unsigned char>(patterns[i].front())].push_back(static_cast<std::uint32_t>(i));
    }
  }
  // A cell's characters and the two a scanned character may add: whatever
  // is written first, the length is checked right after it.
  std::string out(kLimit + 2, '\0');
  char* const begin = out.data();
  char* w = begin;
  NumberScanner scanner;
  for (std::size_t i = 0; i < subject.size(); ++i) {
    const std::string* match = nullptr;
    for (std::uint32_t k : starting_with[static_cast<unsigned char>(subject[i])]) {
      const std::string& p = patterns[k];
      if (p.size() <= subject.size() - i && std::memcmp(subject.data() + i, p.data(), p.size()) == 0) {
        match = &p;
        break;
      }
    }
    if (match != nullptr) {
      if (match->size() > kLimit - static_cast<std::size_t>(w - begin)) return "#NUM!";
      std::memcpy(w, match->data(), match->size());
      w += match->size();
    } else if (scan_numbers) {
      w = scanner.Feed(subject[i], w);
      if (static_cast<std::size_t>(w - begin) > kLimit) return "#NUM!";
    }
  }
  out.resize(static_cast<std::size_t>(w - begin));
  if (scan_numbers) scanner.Finish(out);
  return out;
}

Value dcmEXCLUDE(std::span<const Value> numlist) {
  return TextFunction(numlist, [](TextArguments& a) { return ExcludePatterns(std::move(a.subject), a.patterns); });
}

Value dcmEXCLUDENOTNUM(std::span<const Value> numlist) {
  return TextFunction(numlist,
                      [](TextArguments& a) { return ScanNumber(ExcludePatterns(std::move(a.subject), a.patterns)); });
}

Value dcmEXTRACT(std::span<const Value> numlist) {
  return TextFunction(numlist, [](TextArguments& a) { return ExtractPatterns(a.subject, a.patterns, false); });
}

Value dcmEXTRACTNUM(std::span<const Value> numlist) {
  return TextFunction(numlist, [](TextArguments& a) { return ExtractPatterns(a.subject, a.patterns, true); });
}

}  // namespace decimora::functions
