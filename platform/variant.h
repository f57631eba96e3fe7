// The value a worksheet call can receive or return: our stand-in for the
// host's variant. Numbers travel as Text almost everywhere; Number is the
// host's own double, kept only where a caller hands one over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// Sixteen bytes, whatever it holds, so a block of millions of cells (an
// inline array of a long formula) costs a small multiple of its text: a text
// of up to 14 characters (every short number) is stored in place, a longer
// one in one heap block of its own, and an array is shared by reference.
class Value {
 public:
  enum class Kind : std::uint8_t { Omitted, Empty, Text, Number, Boolean, Error, Array };

  Value() = default;  // omitted
  Value(const Value& other);
  Value(Value&& other) noexcept;
  Value& operator=(const Value& other);
  Value& operator=(Value&& other) noexcept;
  ~Value();

  static Value Omitted() { return Value(); }
  static Value Empty();
  static Value Text(std::string_view s);
  static Value Number(double d);
  static Value Bool(bool b);
  static Value Error(HostError e);
  static Value FromArray(Array a);

  Kind kind() const { return static_cast<Kind>(bytes_[0]); }
  bool isOmitted() const { return kind() == Kind::Omitted; }
  bool isEmpty() const { return kind() == Kind::Empty; }
  bool isText() const { return kind() == Kind::Text; }
  bool isNumber() const { return kind() == Kind::Number; }
  bool isBool() const { return kind() == Kind::Boolean; }
  bool isError() const { return kind() == Kind::Error; }
  bool isArray() const { return kind() == Kind::Array; }

  // Each accessor requires the matching kind (text() of another kind is "").
  std::string_view text() const;
  double number() const;
  bool boolean() const { return bytes_[8] != 0; }
  HostError error() const { return static_cast<HostError>(bytes_[8]); }
  const Array& array() const;

  bool operator==(const Value& other) const;

 private:
  static constexpr std::size_t kInlineText = 14;  // bytes_[2..15]
  static constexpr unsigned char kHeapText = 0xFF;

  struct HeapText;
  struct SharedArray;
  void* pointer() const;
  void setPointer(const void* p);
  void release();
  void copyFrom(const Value& other);

  // [0] kind, [1] inline text length (kHeapText: on the heap), [2..15]
  // inline text; [8..15] a double, a pointer, a Boolean or an error code.
  alignas(8) unsigned char bytes_[16] = {};
};

static_assert(sizeof(Value) == 16);

}  // namespace decimora
