#include "platform/variant.h"

#include <array>
#include <utility>

namespace decimora {

namespace {
constexpr std::array<std::pair<HostError, std::string_view>, 7> kHostErrors{{
    {HostError::Null, "#NULL!"},
    {HostError::Div0, "#DIV/0!"},
    {HostError::Value, "#VALUE!"},
    {HostError::Ref, "#REF!"},
    {HostError::Name, "#NAME?"},
    {HostError::Num, "#NUM!"},
    {HostError::NA, "#N/A"},
}};
}  // namespace

std::string_view HostErrorText(HostError e) {
  for (const auto& [code, text] : kHostErrors) {
    if (code == e) return text;
  }
  return "#VALUE!";
}

std::optional<HostError> ParseHostError(std::string_view text) {
  for (const auto& [code, name] : kHostErrors) {
    if (name == text) return code;
  }
  return std::nullopt;
}

Array::Array(std::size_t r, std::size_t c) : rows(r), cols(c), cells(r * c, Value::Empty()) {}

Value& Array::at(std::size_t row, std::size_t col) { return cells[(row - 1) * cols + (col - 1)]; }
const Value& Array::at(std::size_t row, std::size_t col) const { return cells[(row - 1) * cols + (col - 1)]; }

Value Value::Empty() {
  Value v;
  v.kind_ = Kind::Empty;
  return v;
}
Value Value::Text(std::string s) {
  Value v;
  v.kind_ = Kind::Text;
  v.data_ = std::move(s);
  return v;
}
Value Value::Number(double d) {
  Value v;
  v.kind_ = Kind::Number;
  v.data_ = d;
  return v;
}
Value Value::Bool(bool b) {
  Value v;
  v.kind_ = Kind::Boolean;
  v.data_ = b;
  return v;
}
Value Value::Error(HostError e) {
  Value v;
  v.kind_ = Kind::Error;
  v.data_ = e;
  return v;
}
Value Value::FromArray(Array a) {
  Value v;
  v.kind_ = Kind::Array;
  v.data_ = std::make_shared<const Array>(std::move(a));
  return v;
}

bool Value::operator==(const Value& other) const {
  if (kind_ != other.kind_) return false;
  if (kind_ == Kind::Array) {
    const Array& a = array();
    const Array& b = other.array();
    return a.rows == b.rows && a.cols == b.cols && a.cells == b.cells;
  }
  return data_ == other.data_;
}

}  // namespace decimora
