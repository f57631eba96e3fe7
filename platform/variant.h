// The value a worksheet call can receive or return: our stand-in for the
// host's variant. Numbers travel as Text almost everywhere; Number is the
// host's own double, kept only where a caller hands one over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace decimora {

// Error values of the host (what a cell shows), as opposed to the error
// texts ("#VALUE!", ...) that the library returns as ordinary text.
enum class HostError : std::uint8_t { Null, Div0, Value, Ref, Name, Num, NA };

std::string_view HostErrorText(HostError e);
std::optional<HostError> ParseHostError(std::string_view text);

class Value;

// A two-dimensional block of cells, indexes from 1 as the host gives them.
struct Array {
  std::size_t rows = 0;
  std::size_t cols = 0;
  std::vector<Value> cells;  // row-major, rows * cols

  Array() = default;
  Array(std::size_t r, std::size_t c);
  Value& at(std::size_t row, std::size_t col);
  const Value& at(std::size_t row, std::size_t col) const;
};

class Value {
 public:
  enum class Kind : std::uint8_t { Omitted, Empty, Text, Number, Boolean, Error, Array };

  Value() = default;  // omitted
  static Value Omitted() { return Value(); }
  static Value Empty();
  static Value Text(std::string s);
  static Value Number(double d);
  static Value Bool(bool b);
  static Value Error(HostError e);
  static Value FromArray(Array a);

  Kind kind() const { return kind_; }
  bool isOmitted() const { return kind_ == Kind::Omitted; }
  bool isEmpty() const { return kind_ == Kind::Empty; }
  bool isText() const { return kind_ == Kind::Text; }
  bool isNumber() const { return kind_ == Kind::Number; }
  bool isBool() const { return kind_ == Kind::Boolean; }
  bool isError() const { return kind_ == Kind::Error; }
  bool isArray() const { return kind_ == Kind::Array; }

  const std::string& text() const { return std::get<std::string>(data_); }
  double number() const { return std::get<double>(data_); }
  bool boolean() const { return std::get<bool>(data_); }
  HostError error() const { return std::get<HostError>(data_); }
  const Array& array() const { return *std::get<std::shared_ptr<const Array>>(data_); }

  bool operator==(const Value& other) const;

 private:
  Kind kind_ = Kind::Omitted;
  std::variant<std::monostate, std::string, double, bool, HostError, std::shared_ptr<const Array>> data_;
};

}  // namespace decimora
