#include "platform/variant.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
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

// A text too long to be stored in place: its length and characters.
struct Value::HeapText {
  std::size_t size;
  char* chars() { return reinterpret_cast<char*>(this + 1); }
};

// An array shared by every copy of the value that holds it.
struct Value::SharedArray {
  std::atomic<std::size_t> refs{1};
  Array array;
};

void* Value::pointer() const {
  void* p = nullptr;
  std::memcpy(&p, bytes_ + 8, sizeof p);
  return p;
}

void Value::setPointer(const void* p) { std::memcpy(bytes_ + 8, &p, sizeof p); }

void Value::release() {
  if (isText() && bytes_[1] == kHeapText) {
    std::free(pointer());
  } else if (isArray()) {
    auto* shared = static_cast<SharedArray*>(pointer());
    if (shared->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete shared;
  }
  std::memset(bytes_, 0, sizeof bytes_);
}

void Value::copyFrom(const Value& other) {
  if (other.isText() && other.bytes_[1] == kHeapText) {
    *this = Text(other.text());
    return;
  }
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  if (isArray()) static_cast<SharedArray*>(pointer())->refs.fetch_add(1, std::memory_order_relaxed);
}

Value::Value(const Value& other) { copyFrom(other); }

Value::Value(Value&& other) noexcept {
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  std::memset(other.bytes_, 0, sizeof other.bytes_);
}

Value& Value::operator=(const Value& other) {
  if (this != &other) {
    Value copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Value& Value::operator=(Value&& other) noexcept {
  if (this != &other) {
    release();
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    std::memset(other.bytes_, 0, sizeof other.bytes_);
  }
  return *this;
}

Value::~Value() { release(); }

Value Value::Empty() {
  Value v;
  v.bytes_[0] = static_cast<unsigned char>(Kind::Empty);
  return v;
}

Value Value::Text(std::string_view s) {
  Value v;
  v.bytes_[0] = static_cast<unsigned char>(Kind::Text);
  if (s.size() <= kInlineText) {
    v.bytes_[1] = static_cast<unsigned char>(s.size());
    if (!s.empty()) std::memcpy(v.bytes_ + 2, s.data(), s.size());
    return v;
  }
  void* block = std::malloc(sizeof(HeapText) + s.size());
  if (block == nullptr) throw std::bad_alloc();
  auto* heap = new (block) HeapText{s.size()};
  std::memcpy(heap->chars(), s.data(), s.size());
  v.bytes_[1] = kHeapText;
  v.setPointer(heap);
  return v;
}

Value Value::Number(double d) {
  Value v;
  v.bytes_[0] = static_cast<unsigned char>(Kind::Number);
  std::memcpy(v.bytes_ + 8, &d, sizeof d);
  return v;
}

Value Value::Bool(bool b) {
  Value v;
  v.bytes_[0] = static_cast<unsigned char>(Kind::Boolean);
  v.bytes_[8] = b ? 1 : 0;
  return v;
}

Value Value::Error(HostError e) {
  Value v;
  v.bytes_[0] = static_cast<unsigned char>(Kind::Error);
  v.bytes_[8] = static_cast<unsigned char>(e);
  return v;
}

Value Value::FromArray(Array a) {
  Value v;
  v.bytes_[0] = static_cast<unsigned char>(Kind::Array);
  auto* shared = new SharedArray;
  shared->array = std::move(a);
  v.setPointer(shared);
  return v;
}

std::string_view Value::text() const {
  if (!isText()) return {};
  if (bytes_[1] != kHeapText) return {reinterpret_cast<const char*>(bytes_ + 2), bytes_[1]};
  auto* heap = static_cast<HeapText*>(pointer());
  return {heap->chars(), heap->size};
}

double Value::number() const {
  double d = 0;
  std::memcpy(&d, bytes_ + 8, sizeof d);
  return d;
}

const Array& Value::array() const { return static_cast<const SharedArray*>(pointer())->array; }

bool Value::operator==(const Value& other) const {
  if (kind() != other.kind()) return false;
  switch (kind()) {
    case Kind::Omitted:
    case Kind::Empty: return true;
    case Kind::Text: return text() == other.text();
    case Kind::Number: return number() == other.number();
    case Kind::Boolean: return boolean() == other.boolean();
    case Kind::Error: return error() == other.error();
    case Kind::Array: {
      const Array& a = array();
      const Array& b = other.array();
      return a.rows == b.rows && a.cols == b.cols && a.cells == b.cells;
    }
  }
  return false;
}

}  // namespace decimora
