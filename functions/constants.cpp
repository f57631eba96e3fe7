// The cut of the stored constants, dcmPI and dcmE, and the mantissa/exponent
// workers.
#include "functions/constants.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "engine/number_text.h"
#include "frame/restrictionator.h"
#include "functions/constants_data.h"
#include "platform/convert.h"

namespace decimora::functions {

namespace {

std::string Cut(const detail::StoredConstant& c, double limit, double digits) {
  if (std::isnan(digits)) return "#VALUE!";
  if (digits > limit) return "#NUM!";
  // Ties to even, as the host converts a number to a whole number.
  const double n = std::nearbyint(digits + 1);
  if (n < 0) return "#VALUE!";
  const auto count = static_cast<std::size_t>(n);
  std::string out;
  if (count == 0) return out;
  out.reserve(std::min(count, c.decimals.size() + 2));
  out += c.leading;
  if (count >= 2) {
    out += engine::GetDecimalSeparator();
    out.append(c.decimals, 0, std::min(count - 2, c.decimals.size()));
  }
  return out;
}

Value ConstantCall(const Value& digits, std::string (*get)(double)) {
  double d;
  if (digits.isOmitted()) {
    d = frame::DefaultMaxSD();
  } else {
    const auto v = platform::VariantToDouble(digits);
    if (!v) return Value::Error(HostError::Value);
    d = std::min(*v, static_cast<double>(frame::kMaxSignificantDigits));
  }
  const std::string text = get(d);
  if (text == "#VALUE!") return Value::Error(HostError::Value);
  return Value::Text(text);
}

// A 32-bit whole number as the host converts a value to one (halves to even).
std::optional<std::int32_t> ToLong(std::string_view text) {
  const auto d = platform::TextToDouble(text);
  if (!d) return std::nullopt;
  const double r = std::nearbyint(*d);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

Value TextResult(const std::string& text) {
  if (text == "#VALUE!") return Value::Error(HostError::Value);
  return Value::Text(text);
}

}  // namespace

std::string Get_Pi(double digits) { return Cut(detail::Stored_pi(), kPiERequestLimit, digits); }
std::string Get_E(double digits) { return Cut(detail::Stored_e(), kPiERequestLimit, digits); }
std::string Get_Ln2(double digits) { return Cut(detail::Stored_ln2(), kLogRequestLimit, digits); }
std::string Get_Ln10(double digits) { return Cut(detail::Stored_ln10(), kLogRequestLimit, digits); }

Value dcmPI(const Value& digits) { return ConstantCall(digits, &Get_Pi); }
Value dcmE(const Value& digits) { return ConstantCall(digits, &Get_E); }

std::string Get_Mantissa(std::string_view num, bool as_integer) {
  const char sep = engine::GetDecimalSeparator();
  std::string digits;
  digits.reserve(num.size());
  bool removed = false;
  for (char ch : num) {
    if (ch == sep && !removed) {
      removed = true;
      continue;
    }
    if (ch == '0' && digits.empty()) continue;
    digits += ch;
  }
  if (as_integer) return digits;
  std::string out = "0";
  out += sep;
  out += digits;
  return out;
}

long long Get_Exponent_Value(std::string_view num) {
  const char sep = engine::GetDecimalSeparator();
  const std::size_t first = num.find_first_not_of('0');
  if (first == std::string_view::npos) return 0;
  const std::string_view text = num.substr(first);
  if (text.front() == sep) {
    // Positions counted from the separator as 1; j past the end when all
    // that follows is zeros.
    const std::size_t nonzero = text.find_first_not_of('0', 1);
    const long long j = nonzero == std::string_view::npos ? static_cast<long long>(text.size()) + 1
                                                          : static_cast<long long>(nonzero) + 1;
    return 2 - j;
  }
  const std::size_t s = text.find(sep);
  if (s != std::string_view::npos) return static_cast<long long>(s);
  return static_cast<long long>(text.size());
}

std::string Get_Exponent(std::string_view num) { return std::to_string(Get_Exponent_Value(num)); }

std::string Combine_Mantissa_And_Exponent(std::string_view mantissa, std::string_view exponent) {
  const auto e = ToLong(exponent);
  const auto m = platform::TextToDouble(mantissa);
  if (!e || !m) return "#VALUE!";
  const double scale = std::pow(10.0, static_cast<double>(*e));
  if (!std::isfinite(scale)) return "#VALUE!";
  const auto text = platform::FormatHostNumber(*m * scale);
  return text ? *text : "#VALUE!";
}

std::string Test_Mantissa_And_Exponent(std::string_view num) {
  return Combine_Mantissa_And_Exponent(Get_Mantissa(num), Get_Exponent(num));
}

Value Get_Mantissa(const Value& num, const Value& as_integer) {
  const auto text = platform::VariantToText(num);
  if (!text) return Value::Error(HostError::Value);
  return Value::Text(Get_Mantissa(*text, platform::IsTrueArgument(as_integer)));
}

Value Get_Exponent(const Value& num) {
  const auto text = platform::VariantToText(num);
  if (!text) return Value::Error(HostError::Value);
  return Value::Text(Get_Exponent(*text));
}

Value Combine_Mantissa_And_Exponent(const Value& mantissa, const Value& exponent) {
  const auto m = platform::VariantToText(mantissa);
  const auto e = platform::VariantToText(exponent);
  if (!m || !e) return Value::Error(HostError::Value);
  return TextResult(Combine_Mantissa_And_Exponent(*m, *e));
}

Value Test_Mantissa_And_Exponent(const Value& num) {
  const auto text = platform::VariantToText(num);
  if (!text) return Value::Error(HostError::Value);
  return TextResult(Test_Mantissa_And_Exponent(*text));
}

}  // namespace decimora::functions
