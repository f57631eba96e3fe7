#include "platform/convert.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/locale.h"

namespace decimora::platform {

namespace {
bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace

std::optional<std::string> FormatHostNumber(double d) {
  if (!std::isfinite(d)) return std::nullopt;
  if (d == 0) return std::string("0");  // also -0
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  const char decimal = LocaleDecimalSeparator();
  for (char& c : s) {
    if (c == 'e') c = 'E';
    else if (c == '.') c = decimal;
  }
  return s;
}

std::optional<std::string> VariantToText(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Text: return std::string(v.text());
    case Value::Kind::Number: return FormatHostNumber(v.number());
    case Value::Kind::Boolean: return std::string(v.boolean() ? "True" : "False");
    case Value::Kind::Empty: return std::string();
    default: return std::nullopt;
  }
}

std::optional<double> TextToDouble(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  std::string_view t = text.substr(b, e - b);
  bool negative = false;
  if (t.size() >= 2 && t.front() == '(' && t.back() == ')') {
    negative = true;
    t = t.substr(1, t.size() - 2);
  }
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    if (t.front() == '-') negative = !negative;
    t.remove_prefix(1);
  }
  const char decimal = LocaleDecimalSeparator();
  std::string thousands = LocaleThousandsSeparator();
  if (thousands == std::string_view(&decimal, 1)) thousands.clear();
  std::string clean;
  clean.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    if (!thousands.empty() && t.compare(i, thousands.size(), thousands) == 0) {
      i += thousands.size();
      continue;
    }
    clean.push_back(t[i] == decimal ? '.' : t[i]);
    ++i;
  }
  if (clean.empty() || clean[0] == '-' || clean[0] == '+') return std::nullopt;
  double value = 0;
  auto res = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (res.ec != std::errc() || res.ptr != clean.data() + clean.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<double> VariantToDouble(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Number: return v.number();
    case Value::Kind::Boolean: return v.boolean() ? -1.0 : 0.0;
    case Value::Kind::Empty: return 0.0;
    case Value::Kind::Text: return TextToDouble(v.text());
    default: return std::nullopt;
  }
}

bool EqualsNumber(const Value& v, double n) {
  if (v.isText() && (IEquals(v.text(), "TRUE") || IEquals(v.text(), "FALSE"))) {
    return (IEquals(v.text(), "TRUE") ? -1.0 : 0.0) == n;
  }
  const auto d = VariantToDouble(v);
  return d.has_value() && *d == n;
}

bool EqualsTrue(const Value& v) { return EqualsNumber(v, -1.0); }

std::optional<bool> VariantToBoolean(const Value& v) {
  if (v.isBool()) return v.boolean();
  if (v.isText()) {
    if (IEquals(v.text(), "TRUE")) return true;
    if (IEquals(v.text(), "FALSE")) return false;
  }
  const auto d = VariantToDouble(v);  // numbers, numeric texts, an empty cell (0)
  if (!d) return std::nullopt;
  return *d != 0;
}

bool IsTrueArgument(const Value& v) { return VariantToBoolean(v).value_or(false); }

}  // namespace decimora::platform
