#include "cli/output.h"

#include <charconv>
#include <cmath>

#include "platform/convert.h"

namespace decimora::cli {

namespace {

constexpr std::string_view kNotFinite = "#NUM!";

std::string PlainScalar(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Text: return std::string(v.text());
    case Value::Kind::Boolean: return v.boolean() ? "TRUE" : "FALSE";
    case Value::Kind::Number: return platform::FormatHostNumber(v.number()).value_or(std::string(kNotFinite));
    case Value::Kind::Error: return std::string(HostErrorText(v.error()));
    case Value::Kind::Omitted:
    case Value::Kind::Empty: return "";
    case Value::Kind::Array: break;  // an array cell never holds an array
  }
  return std::string(HostErrorText(HostError::Value));
}

// Length of the well-formed UTF-8 sequence at s[i], or 0 when it is not one.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  std::size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < len; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return len;
}

// Control characters are escaped; valid UTF-8 passes through unchanged and a
// byte that is not part of valid UTF-8 becomes U+FFFD, so the line is always
// valid JSON.
void AppendJsonString(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      const std::size_t len = Utf8Length(s, i);
      if (len == 0) {
        out.append("\\ufffd");
        ++i;
      } else {
        out.append(s.substr(i, len));
        i += len;
      }
      continue;
    }
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      default:
        if (c < 0x20) {
          out.append("\\u00");
          out.push_back(kHex[c >> 4]);
          out.push_back(kHex[c & 0xF]);
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
    ++i;
  }
  out.push_back('"');
}

void AppendJsonError(std::string& out, std::string_view error) {
  out.append("{\"error\":");
  AppendJsonString(out, error);
  out.push_back('}');
}

void AppendJsonScalar(std::string& out, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Text: AppendJsonString(out, v.text()); return;
    case Value::Kind::Boolean: out.append(v.boolean() ? "true" : "false"); return;
    case Value::Kind::Number: {
      const double d = v.number();
      if (!std::isfinite(d)) {
        AppendJsonError(out, kNotFinite);
        return;
      }
      char buf[32];
      const auto res = std::to_chars(buf, buf + sizeof buf, d);  // shortest round-trip form
      out.append(buf, res.ptr);
      return;
    }
    case Value::Kind::Error: AppendJsonError(out, HostErrorText(v.error())); return;
    case Value::Kind::Omitted:
    case Value::Kind::Empty: out.append("null"); return;
    case Value::Kind::Array: break;
  }
  AppendJsonError(out, HostErrorText(HostError::Value));
}

// True when the formula reader takes `text` back, unquoted, as this same
// text: a bare number token (a digit, '.', or a sign before either, up to a
// blank or a character of the syntax).
bool ReadsBackBare(std::string_view text) {
  if (text.empty()) return false;
  const auto digitOrPoint = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
  const bool starts = digitOrPoint(text[0]) || ((text[0] == '-' || text[0] == '+') && text.size() > 1 &&
                                                digitOrPoint(text[1]));
  return starts && text.find_first_of(" \t\r\n,;(){}\"") == std::string_view::npos;
}

void AppendCellLiteral(std::string& out, const Value& v) {
  if (!v.isText()) {
    out.append(PlainScalar(v));
    return;
  }
  const std::string_view text = v.text();
  if (ReadsBackBare(text)) {
    out.append(text);
    return;
  }
  out.push_back('"');
  for (std::size_t from = 0;;) {
    const std::size_t quote = text.find('"', from);
    out.append(text, from, quote == std::string::npos ? std::string::npos : quote + 1 - from);
    if (quote == std::string::npos) break;
    out.push_back('"');  // "" stands for one quote
    from = quote + 1;
  }
  out.push_back('"');
}

}  // namespace

std::string RenderPlainLine(const Value& v) {
  if (!v.isArray()) return PlainScalar(v);
  const Array& a = v.array();
  std::string out(1, '{');
  for (std::size_t r = 1; r <= a.rows; ++r) {
    if (r > 1) out.push_back(';');
    for (std::size_t c = 1; c <= a.cols; ++c) {
      if (c > 1) out.push_back(',');
      AppendCellLiteral(out, a.at(r, c));
    }
  }
  out.push_back('}');
  return out;
}

std::string RenderPlain(const Value& v) {
  if (!v.isArray()) return PlainScalar(v);
  const Array& a = v.array();
  std::string out;
  for (std::size_t r = 1; r <= a.rows; ++r) {
    if (r > 1) out.push_back('\n');
    for (std::size_t c = 1; c <= a.cols; ++c) {
      if (c > 1) out.push_back('\t');
      out.append(PlainScalar(a.at(r, c)));
    }
  }
  return out;
}

std::string RenderJson(const Value& v) {
  std::string out;
  if (!v.isArray()) {
    AppendJsonScalar(out, v);
    return out;
  }
  const Array& a = v.array();
  out.push_back('[');
  for (std::size_t r = 1; r <= a.rows; ++r) {
    if (r > 1) out.push_back(',');
    out.push_back('[');
    for (std::size_t c = 1; c <= a.cols; ++c) {
      if (c > 1) out.push_back(',');
      AppendJsonScalar(out, a.at(r, c));
    }
    out.push_back(']');
  }
  out.push_back(']');
  return out;
}

void Console::Result(const Value& v) {
  if (json_) {
    out_ << RenderJson(v) << '\n';
  } else if (v.isText()) {
    out_ << v.text() << '\n';  // the common case, written without a copy
  } else {
    out_ << (one_line_ ? RenderPlainLine(v) : RenderPlain(v)) << '\n';
  }
  if (line_buffered_) out_.flush();
}

void Console::EmptyResult() {
  out_ << '\n';
  if (line_buffered_) out_.flush();
}

void Console::Flush() { out_.flush(); }

void Console::Print(std::string_view text) { out_ << text << std::flush; }

void Console::Prompt(std::string_view prompt) { out_ << prompt << std::flush; }

// Results written so far go out first, so diagnostics stay in order with
// them when both streams end up in one place.
void Console::Error(std::string_view message) {
  out_.flush();
  err_ << "decimora: error: " << message << '\n' << std::flush;
}

void Console::Warning(std::string_view message) {
  out_.flush();
  err_ << "decimora: warning: " << message << '\n' << std::flush;
}

}  // namespace decimora::cli
