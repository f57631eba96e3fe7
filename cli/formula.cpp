#include "cli/formula.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "api/registry.h"
#include "platform/convert.h"

namespace decimora::cli {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IEquals(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return Upper(x) == Upper(y);
         });
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c) || c == '.'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// Characters that end a bare number: the punctuation of the syntax and blanks.
bool EndsBareToken(char c) {
  return IsSpace(c) || c == ',' || c == ';' || c == '(' || c == ')' || c == '{' || c == '}' || c == '"';
}

// The end of the bare number that starts at pos. Numbers may be tens of
// thousands of digits long, so runs of digits are skipped eight at a time.
std::size_t BareTokenEnd(std::string_view s, std::size_t pos) {
  constexpr std::uint64_t kLow = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  for (;;) {
    while (pos + 8 <= s.size()) {
      std::uint64_t w;
      std::memcpy(&w, s.data() + pos, 8);
      // With the top bit of every byte set first, subtracting '0' (or '9' + 1)
      // never borrows across bytes and leaves that top bit set exactly where
      // the byte is at least '0' (or above '9').
      const std::uint64_t atLeastZero = (w | kHigh) - kLow * '0';
      const std::uint64_t aboveNine = (w | kHigh) - kLow * ('9' + 1);
      if ((w & kHigh) != 0 || (atLeastZero & ~aboveNine & kHigh) != kHigh) break;  // not all eight are digits
      pos += 8;
    }
    // Up to the next digit one at a time (a separator, an exponent, a sign).
    const std::size_t stop = std::min(s.size(), pos + 8);
    while (pos < stop && !EndsBareToken(s[pos])) ++pos;
    if (pos < stop || pos == s.size()) return pos;
  }
}

// A parsed formula. Parsing completes before anything is evaluated, so a
// syntax error anywhere means no function runs at all. An array keeps its
// literal cells as values (sixteen bytes each), not as nodes, so a formula
// with millions of cells stays a small multiple of its length.
struct Node {
  enum class Kind { Literal, Call, Array, Blank, ToNumber };
  Kind kind = Kind::Literal;
  Value literal;            // Literal (Omitted for an empty argument position)
  std::string_view name;    // Call: the name as typed (a view of the formula)
  std::vector<Node> items;  // Call arguments, ToNumber's operand, Array's computed cells
  // Array: every cell, row-major; a cell that must be computed (a call) is
  // empty here and its node is items[k], to be stored at cells[computed_at[k]].
  std::vector<Value> cells;
  std::vector<std::size_t> computed_at;
  std::size_t rows = 0;
  std::size_t cols = 0;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  Node ParseFormula() {
    SkipSpace();
    if (Peek() == '=') ++pos_;
    SkipSpace();
    if (AtEnd()) Fail(pos_, "empty formula");
    Node node = ParseExpr(false);
    SkipSpace();
    if (!AtEnd()) Fail(pos_, "unexpected " + Describe(pos_) + " after the end of the expression");
    return node;
  }

 private:
  bool AtEnd() const { return pos_ >= s_.size(); }
  char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(s_[pos_])) ++pos_;
  }

  std::size_t Column(std::size_t pos) const {
    std::size_t col = 1;
    for (std::size_t i = 0; i < pos && i < s_.size(); ++i) {
      if ((static_cast<unsigned char>(s_[i]) & 0xC0) != 0x80) ++col;
    }
    return col;
  }

  [[noreturn]] void Fail(std::size_t pos, std::string message) const {
    throw FormulaError(Column(pos), std::move(message));
  }

  // What stands at pos, for a message: a quoted character or "end of formula".
  std::string Describe(std::size_t pos) const {
    if (pos >= s_.size()) return "end of formula";
    std::size_t len = 1;
    while (pos + len < s_.size() && (static_cast<unsigned char>(s_[pos + len]) & 0xC0) == 0x80) ++len;
    std::string quoted(1, '\'');
    quoted.append(s_.substr(pos, len)).push_back('\'');
    return quoted;
  }

  [[noreturn]] void Unclosed(const std::string& what, std::size_t open) const {
    Fail(pos_, "missing " + what + " opened at column " + std::to_string(Column(open)));
  }

  void Enter(std::size_t pos) {
    if (++depth_ > kMaxNesting) Fail(pos, "formula nests deeper than " + std::to_string(kMaxNesting) + " levels");
  }

  Node ParseExpr(bool in_array) {
    const char c = Peek();
    if (c == '"') return ParseString();
    if (c == '#') return ParseErrorLiteral();
    if (c == '{') {
      if (in_array) Fail(pos_, "an array cannot hold another array");
      return ParseArray();
    }
    if (IsDigit(c) || c == '.' ||
        ((c == '-' || c == '+') && pos_ + 1 < s_.size() && (IsDigit(s_[pos_ + 1]) || s_[pos_ + 1] == '.'))) {
      return ParseBareNumber();
    }
    if (IsNameStart(c)) return ParseNameOrCall();
    if (AtEnd()) Fail(pos_, "unexpected end of formula: a value is missing");
    Fail(pos_, "unexpected " + Describe(pos_) + ": expected a function call, a number, a \"text\", TRUE, FALSE, "
               "an error value or an {array}");
  }

  Node ParseString() {
    const std::size_t start = pos_++;
    std::string text;
    for (;;) {
      const std::size_t quote = s_.find('"', pos_);
      if (quote == std::string_view::npos) Fail(start, "text has no closing quote");
      text.append(s_.substr(pos_, quote - pos_));
      pos_ = quote + 1;
      if (Peek() != '"') break;
      text.push_back('"');  // "" stands for one quote
      ++pos_;
    }
    Node n;
    n.literal = Value::Text(std::move(text));
    return n;
  }

  Node ParseErrorLiteral() {
    const std::size_t start = pos_++;
    while (!AtEnd() && (IsNameChar(s_[pos_]) || s_[pos_] == '/')) ++pos_;
    if (Peek() == '!' || Peek() == '?') ++pos_;
    std::string word(s_.substr(start, pos_ - start));
    std::transform(word.begin(), word.end(), word.begin(), Upper);
    const auto error = ParseHostError(word);
    if (!error) {
      Fail(start, "unknown error value '" + std::string(s_.substr(start, pos_ - start)) +
                      "' (the host's are #NULL! #DIV/0! #VALUE! #REF! #NAME? #NUM! #N/A; other texts need quotes)");
    }
    Node n;
    n.literal = Value::Error(*error);
    return n;
  }

  // Kept as text exactly as typed: the library decides what it means.
  Node ParseBareNumber() {
    const std::size_t start = pos_;
    pos_ = BareTokenEnd(s_, pos_);
    Node n;
    n.literal = Value::Text(std::string(s_.substr(start, pos_ - start)));
    return n;
  }

  Node ParseNameOrCall() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(s_[pos_])) ++pos_;
    const std::string_view name = s_.substr(start, pos_ - start);
    SkipSpace();
    if (Peek() != '(') {
      Node n;
      if (IEquals(name, "TRUE")) {
        n.literal = Value::Bool(true);
      } else if (IEquals(name, "FALSE")) {
        n.literal = Value::Bool(false);
      } else {
        Fail(start, "unknown name '" + std::string(name) + "': a call needs parentheses, a text needs quotes");
      }
      return n;
    }
    Node call;
    call.kind = Node::Kind::Call;
    call.name = name;
    call.items = ParseArguments(name);
    if (IEquals(name, "BLANK")) {
      if (!call.items.empty()) Fail(start, "BLANK() takes no arguments");
      call.kind = Node::Kind::Blank;
    } else if (IEquals(name, "VALUE")) {
      if (call.items.size() != 1) Fail(start, "VALUE() takes exactly one argument");
      call.kind = Node::Kind::ToNumber;
    }
    return call;
  }

  // At '('. An empty position between commas is an omitted argument; "f()"
  // has none, "f(,)" has two.
  std::vector<Node> ParseArguments(std::string_view name) {
    const std::size_t open = pos_++;
    Enter(open);
    std::vector<Node> args;
    SkipSpace();
    if (Peek() == ')') {
      ++pos_;
      --depth_;
      return args;
    }
    for (;;) {
      SkipSpace();
      if (AtEnd()) {
        Unclosed("')' to close the call of " + std::string(name), open);
      }
      if (Peek() == ',' || Peek() == ')') {
        args.emplace_back();  // omitted
      } else {
        args.push_back(ParseExpr(false));
        SkipSpace();
      }
      if (Peek() == ',') {
        if (args.size() == kMaxArguments) {
          Fail(pos_, "too many arguments: a call takes at most " + std::to_string(kMaxArguments) + ", as in a "
                     "spreadsheet, and " + std::string(name) + " is given more");
        }
        ++pos_;
        continue;
      }
      if (Peek() == ')') {
        ++pos_;
        break;
      }
      if (AtEnd()) {
        Unclosed("')' to close the call of " + std::string(name), open);
      }
      Fail(pos_, "unexpected " + Describe(pos_) + " in the arguments of " + std::string(name) +
                     ": expected ',' or ')'");
    }
    --depth_;
    return args;
  }

  // {a,b;c,d}: ',' separates cells, ';' rows; every row must be as long as
  // the first. Empty positions are empty cells.
  Node ParseArray() {
    const std::size_t open = pos_++;
    Enter(open);
    Node array;
    array.kind = Node::Kind::Array;
    array.cells.reserve(CountCells(pos_));
    std::size_t in_row = 0;
    for (;;) {
      SkipSpace();
      if (AtEnd()) Unclosed("'}' to close the array", open);
      if (Peek() == ',' || Peek() == ';' || Peek() == '}') {
        array.cells.push_back(Value::Empty());
      } else {
        Node cell = ParseExpr(true);
        SkipSpace();
        if (cell.kind == Node::Kind::Literal) {
          array.cells.push_back(std::move(cell.literal));
        } else {
          array.computed_at.push_back(array.cells.size());
          array.cells.push_back(Value::Empty());
          array.items.push_back(std::move(cell));
        }
      }
      ++in_row;
      const char c = Peek();
      if (c == ',') {
        ++pos_;
        continue;
      }
      if (c == ';' || c == '}') {
        if (array.rows == 0) {
          array.cols = in_row;
        } else if (in_row != array.cols) {
          Fail(pos_, "row " + std::to_string(array.rows + 1) + " of the array has " + std::to_string(in_row) +
                         (in_row == 1 ? " value" : " values") + ", row 1 has " + std::to_string(array.cols));
        }
        ++array.rows;
        in_row = 0;
        ++pos_;
        if (c == '}') break;
        continue;
      }
      if (AtEnd()) {
        Unclosed("'}' to close the array", open);
      }
      Fail(pos_, "unexpected " + Describe(pos_) + " in an array: expected ',', ';' or '}'");
    }
    --depth_;
    return array;
  }

  // The number of cells of the array whose text starts at pos, counted ahead
  // so the cells are allocated once, not grown by doubling. Only a size
  // hint: the parse proper reports any error.
  std::size_t CountCells(std::size_t pos) const {
    std::size_t cells = 1;
    std::size_t parens = 0;
    for (; pos < s_.size(); ++pos) {
      const char c = s_[pos];
      if (c == '"') {
        const std::size_t close = s_.find('"', pos + 1);
        if (close == std::string_view::npos) break;
        pos = close;  // "" inside a text is two texts here: no cell count changes
      } else if (c == '(') {
        ++parens;
      } else if (c == ')') {
        if (parens > 0) --parens;
      } else if (parens == 0 && (c == ',' || c == ';')) {
        ++cells;
      } else if (parens == 0 && (c == '}' || c == '{')) {
        break;
      }
    }
    return cells;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::size_t depth_ = 0;
};

// VALUE(x): the host number x stands for.
Value ToHostNumber(const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Number: return v;
    case Value::Kind::Boolean: return Value::Number(v.boolean() ? -1.0 : 0.0);
    case Value::Kind::Omitted:
    case Value::Kind::Empty: return Value::Number(0.0);
    case Value::Kind::Error: return v;
    case Value::Kind::Text: {
      const auto d = platform::TextToDouble(v.text());
      // from_chars also reads "inf" and "nan", which no host cell holds.
      if (!d || !std::isfinite(*d)) return Value::Error(HostError::Value);
      return Value::Number(*d);
    }
    case Value::Kind::Array: break;
  }
  return Value::Error(HostError::Value);
}

class Evaluator {
 public:
  Evaluator(cls_Decimora& dcm, std::vector<std::string>* unknown) : dcm_(dcm), unknown_(unknown) {}

  // Each node is evaluated once, so its literals are moved out, not copied.
  Value Eval(Node& n) {
    switch (n.kind) {
      case Node::Kind::Literal: return std::move(n.literal);
      case Node::Kind::Blank: return Value::Empty();
      case Node::Kind::ToNumber: return ToHostNumber(Eval(n.items[0]));
      case Node::Kind::Array: {
        Array a;
        a.rows = n.rows;
        a.cols = n.cols;
        a.cells = std::move(n.cells);
        for (std::size_t k = 0; k < n.items.size(); ++k) {
          Value cell = Eval(n.items[k]);
          // A cell holds one value; a call that answers a block does not fit.
          if (cell.isArray()) cell = Value::Error(HostError::Value);
          a.cells[n.computed_at[k]] = std::move(cell);
        }
        return Value::FromArray(std::move(a));
      }
      case Node::Kind::Call: {
        std::vector<Value> args;
        args.reserve(n.items.size());
        for (Node& item : n.items) args.push_back(Eval(item));
        const FunctionRow* row = FindFunction(n.name);
        if (row == nullptr) {
          if (unknown_ != nullptr) unknown_->emplace_back(n.name);
          return Value::Error(HostError::Name);
        }
        return CallFunction(dcm_, *row, std::move(args));
      }
    }
    return Value::Error(HostError::Value);
  }

 private:
  cls_Decimora& dcm_;
  std::vector<std::string>* unknown_;
};

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> prev(b.size() + 1), cur(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) prev[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    cur[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t subst = prev[j - 1] + (Upper(a[i - 1]) == Upper(b[j - 1]) ? 0 : 1);
      cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, subst});
    }
    std::swap(prev, cur);
  }
  return prev[b.size()];
}

}  // namespace

Value EvaluateFormula(cls_Decimora& dcm, std::string_view formula, std::vector<std::string>* unknown_names) {
  Node root = Parser(formula).ParseFormula();
  return Evaluator(dcm, unknown_names).Eval(root);
}

std::vector<std::string> SuggestNames(std::string_view unknown) {
  if (unknown.empty() || unknown.size() > 64) return {};
  // Also try the name with the family prefix, so "add" finds dcmADD.
  std::string prefixed;
  if (unknown.size() < 3 || !IEquals(unknown.substr(0, 3), "dcm")) prefixed = "dcm" + std::string(unknown);
  const std::size_t allowed = std::clamp<std::size_t>(unknown.size() / 4, 1, 3);

  std::size_t best = allowed + 1;
  std::vector<std::string> names;
  for (const FunctionRow& row : FunctionTable()) {
    std::size_t d = EditDistance(unknown, row.name);
    if (!prefixed.empty()) d = std::min(d, EditDistance(prefixed, row.name));
    if (d > allowed || d > best) continue;
    if (d < best) {
      best = d;
      names.clear();
    }
    if (names.size() < 3) names.emplace_back(row.name);
  }
  return names;
}

}  // namespace decimora::cli
