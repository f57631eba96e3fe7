// Sorting and order statistics (functions/order.h).
//
// Every ordering is the arrangement of one selection sort whose comparison
// is the exact number comparison: step i exchanges the cell at i with the
// first-met extreme number at or after i, and values that are not numbers
// are passed over. Done literally that is quadratic, with a full number
// reading per comparison. Here every cell is read once into its comparison
// key, the numbers wait in a heap ordered by (key, current place), and the
// exchanges are replayed: the extreme at the top of the heap is exchanged
// into place i, and the value it displaces (a number at i that was not the
// extreme) is put back into the heap at its new place. Since the heap breaks
// ties by place, "first met" means the same as in the selection sort, so the
// order of equal numbers spelled differently and the places the
// non-numbers end up in are the selection sort's own (tests/test_order.cpp
// checks this against a literal transcription).

#include "functions/order.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <queue>
#include <string>
#include <unordered_map>
#include <utility>

#include "engine/number_text.h"
#include "engine/operands.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "frame/guard.h"
#include "frame/lists.h"
#include "frame/restrictionator.h"
#include "platform/convert.h"

namespace decimora::functions {

namespace {

using frame::NumberKey;

// The largest block dcmSORT writes beyond the size of its own range: a
// sheet's grid, and no more cells than 4,194,304 (64 MiB of cells), so that
// a mistyped size is an error value, not an attempt to allocate the block.
constexpr double kMaxBlockRows = 1048576;
constexpr double kMaxBlockCols = 16384;
constexpr double kMaxBlockCells = 4194304;
// The filler text goes into every cell beyond the range: at most 64 Mi
// characters of it in all (a cell-long filler over a large block would ask
// for gigabytes).
constexpr double kMaxFillerChars = 67108864;

// A range argument as a block: a single value is a 1 x 1 block; omitted
// and a host error have no block (the call fails).
std::optional<Array> BlockOf(const Value& v) {
  if (v.isArray()) return v.array();
  if (v.isOmitted() || v.isError()) return std::nullopt;
  Array one(1, 1);
  one.at(1, 1) = v;
  return one;
}

bool IsEmptyCell(const Value& v) { return v.isEmpty() || v.isOmitted(); }

// The cells of a block in a reading order (down: column by column).
std::vector<Value> TakeCells(Array& block, bool across) {
  std::vector<Value> cells;
  if (across) {
    cells = std::move(block.cells);
    block.cells.clear();
    return cells;
  }
  cells.reserve(block.cells.size());
  for (std::size_t c = 1; c <= block.cols; ++c) {
    for (std::size_t r = 1; r <= block.rows; ++r) cells.push_back(std::move(block.at(r, c)));
  }
  return cells;
}

void PutCells(Array& block, std::vector<Value>&& cells, bool across) {
  if (across) {
    block.cells = std::move(cells);
    return;
  }
  std::size_t t = 0;
  for (std::size_t c = 1; c <= block.cols; ++c) {
    for (std::size_t r = 1; r <= block.rows; ++r) block.at(r, c) = std::move(cells[t++]);
  }
}

// Sorts a sequence of cells as the selection sort does, running its first
// `steps` steps.
void SortCells(std::vector<Value>& cells, bool descending, std::size_t steps = static_cast<std::size_t>(-1)) {
  if (cells.empty() || steps == 0) return;
  std::vector<std::optional<NumberKey>> keys(cells.size());
  std::vector<const NumberKey*> key_of(cells.size(), nullptr);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    keys[i] = CellKey(cells[i]);
    if (keys[i]) key_of[i] = &*keys[i];
    // The first step meets every cell as a candidate, and an empty cell met
    // so becomes the empty text.
    if (IsEmptyCell(cells[i])) cells[i] = Value::Text("");
  }
  const std::vector<std::size_t> order = SelectionSortOrder(key_of, descending, steps);
  std::vector<Value> sorted(cells.size());
  for (std::size_t pos = 0; pos < cells.size(); ++pos) sorted[pos] = std::move(cells[order[pos]]);
  cells = std::move(sorted);
}

// A whole number of rows or columns from a block-size argument.
enum class SizeRead { kOmitted, kGiven, kNotANumber, kOutOfRange };
SizeRead ReadBlockSize(const Value& v, double max, std::size_t& out) {
  if (v.isOmitted()) return SizeRead::kOmitted;
  const std::optional<double> d = platform::VariantToDouble(v);
  if (!d || std::isnan(*d)) return SizeRead::kNotANumber;
  const double whole = std::floor(*d);
  if (whole < 1 || whole > max) return SizeRead::kOutOfRange;
  out = static_cast<std::size_t>(whole);
  return SizeRead::kGiven;
}

// The exact key of a number as a text, for finding equal values by hashing.
std::string HashKey(const NumberKey& key) {
  std::string out;
  out.reserve(key.digits.size() + 24);
  out.push_back(key.negative ? '-' : '+');
  out.append(std::to_string(key.integer_digits));
  out.push_back(':');
  out.append(key.digits);
  return out;
}

// A count of list values as a number text.
std::string CountText(std::size_t count) { return std::to_string(count); }

}  // namespace

std::optional<NumberKey> CellKey(const Value& cell) {
  switch (cell.kind()) {
    case Value::Kind::Text:
      return frame::ReadNumberKey(cell.text());
    case Value::Kind::Number: {
      const std::optional<std::string> text = platform::VariantToText(cell);
      if (!text) return std::nullopt;
      return frame::ReadNumberKey(*text);
    }
    default:  // Booleans, host errors and empty cells are not numbers
      return std::nullopt;
  }
}

std::vector<std::size_t> SelectionSortOrder(std::span<const NumberKey* const> keys, bool descending,
                                            std::size_t steps) {
  const std::size_t n = keys.size();
  // at[pos]: the cell now at pos.
  std::vector<std::size_t> at(n);
  for (std::size_t i = 0; i < n; ++i) at[i] = i;

  struct Entry {
    std::size_t cell;
    std::size_t pos;
  };
  // True when a comes out of the heap after b: the extreme value first, of
  // equal values the one met first (the lower place).
  const auto after = [&](const Entry& a, const Entry& b) {
    int c = frame::CompareNumberKeys(*keys[a.cell], *keys[b.cell]);
    if (descending) c = -c;
    return c != 0 ? c > 0 : a.pos > b.pos;
  };
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < n; ++i) {
    if (keys[i] != nullptr) entries.push_back({i, i});
  }
  std::priority_queue<Entry, std::vector<Entry>, decltype(after)> heap(after, std::move(entries));

  const std::size_t last = std::min(n, steps);
  for (std::size_t i = 0; i < last; ++i) {
    // An entry is stale once its place is final or its cell has moved on.
    while (!heap.empty() && (heap.top().pos < i || at[heap.top().pos] != heap.top().cell)) heap.pop();
    // No number left at or after i: every later step exchanges a cell
    // with itself.
    if (heap.empty()) break;
    const Entry best = heap.top();
    heap.pop();
    if (best.pos == i) continue;
    // The exchange: the cell at i goes where the extreme was, and if it is
    // a number it waits there for a later step.
    const std::size_t displaced = at[i];
    at[i] = best.cell;
    at[best.pos] = displaced;
    if (keys[displaced] != nullptr) heap.push({displaced, best.pos});
  }
  return at;
}

void Sort_Function(Array& block, bool descending) {
  std::vector<Value> cells = TakeCells(block, false);
  SortCells(cells, descending);
  PutCells(block, std::move(cells), false);
}

void SortAcross_Function(Array& block, bool descending) {
  std::vector<Value> cells = TakeCells(block, true);
  SortCells(cells, descending);
  PutCells(block, std::move(cells), true);
}

Array FitToBlock_Function(const Array& sorted, std::size_t rows, std::size_t cols, bool left_to_right,
                          const Value& blank) {
  Array out(rows, cols);
  const std::size_t count = std::min(rows * cols, sorted.rows * sorted.cols);
  // The t-th cell of a block in the reading order, 0-based.
  const auto cell = [&](const Array& a, std::size_t t) -> std::pair<std::size_t, std::size_t> {
    if (left_to_right) return {t / a.cols + 1, t % a.cols + 1};
    return {t % a.rows + 1, t / a.rows + 1};
  };
  for (std::size_t t = 0; t < rows * cols; ++t) {
    const auto [r, c] = cell(out, t);
    if (t < count) {
      const auto [sr, sc] = cell(sorted, t);
      out.at(r, c) = sorted.at(sr, sc);
    } else {
      out.at(r, c) = blank;
    }
  }
  return out;
}

Array CopyToBlock_Function(const Array& sorted, std::size_t rows, std::size_t cols, const Value& blank) {
  Array out(rows, cols);
  for (std::size_t r = 1; r <= rows; ++r) {
    for (std::size_t c = 1; c <= cols; ++c) {
      out.at(r, c) = r <= sorted.rows && c <= sorted.cols ? sorted.at(r, c) : blank;
    }
  }
  return out;
}

std::string LargeSmall_Function(const Array& block, const Value& k, bool smallest) {
  const std::optional<std::string> k_text = platform::VariantToText(k);
  if (!k_text) throw frame::CallFailed();
  if (k_text->empty()) return "#NUM!";
  const std::optional<NumberKey> key = frame::ReadNumberKey(frame::ToUpperText(*k_text));
  // A k that cannot be read as a number cannot choose a cell at all: the
  // call fails (the host error #VALUE!), as a k the host cannot convert does.
  if (!key) throw frame::CallFailed();
  const std::size_t cells = block.rows * block.cols;
  // k is taken as its integer part, once it is known to lie in 0 < k <= cells.
  if (key->negative || key->integer_digits == 0 || key->integer_digits > 19) return "#NUM!";
  std::uint64_t whole = 0;
  for (std::size_t i = 1; i <= key->integer_digits; ++i) {
    const char d = i < key->digits.size() ? key->digits[i] : '0';
    whole = whole * 10 + static_cast<std::uint64_t>(d - '0');
  }
  const bool fraction = key->digits.size() > key->integer_digits + 1;
  if (whole == 0 || whole > cells || (whole == cells && fraction)) return "#NUM!";

  Array copy = block;
  std::vector<Value> down = TakeCells(copy, false);
  SortCells(down, !smallest, static_cast<std::size_t>(whole));
  const Value& chosen = down[whole - 1];
  if (!CellKey(chosen)) return "#NUM!";
  return *platform::VariantToText(chosen);
}

std::string Rank_Function(std::string_view num, const Array& block, bool ascending, bool tie_compensation) {
  const std::optional<NumberKey> key = frame::ReadNumberKey(num);
  if (!key) return "#NUM!";
  // After the sort, the numbers that rank before num come first, then the
  // ones equal to it: counting both is all the rank needs.
  std::size_t before = 0;
  std::size_t equal = 0;
  for (const Value& cell : block.cells) {
    const std::optional<NumberKey> other = CellKey(cell);
    if (!other) continue;
    const int c = frame::CompareNumberKeys(*other, *key);
    if (c == 0) {
      ++equal;
    } else if (ascending ? c < 0 : c > 0) {
      ++before;
    }
  }
  // Twice the rank, to keep the half of the tie compensation exact. When num
  // does not occur the walk runs to the end: the rank is the number of
  // cells, less one half with tie compensation.
  std::size_t twice = 0;
  if (equal == 0) {
    twice = 2 * block.rows * block.cols - (tie_compensation ? 1 : 0);
  } else {
    twice = 2 * (before + 1) + (tie_compensation ? equal - 1 : 0);
  }
  std::string out = std::to_string(twice / 2);
  if (twice % 2 != 0) {
    out.push_back(engine::GetDecimalSeparator());
    out.push_back('5');
  }
  return out;
}

std::string Median_Function(std::span<const Value> list) {
  frame::DirectiveReader directives(frame::kMaxSignificantDigits);
  std::vector<std::string> texts;
  std::vector<NumberKey> keys;
  const frame::WalkEnd end = frame::WalkList(list, directives, [&](const frame::ListItem& item) {
    std::optional<NumberKey> key = frame::ReadNumberKey(item.upper);
    if (key) {
      texts.push_back(item.upper);
      keys.push_back(std::move(*key));
    }
    return true;
  });
  if (end == frame::WalkEnd::kValueTooLong) return "#NUM!";
  // No number at all: there is no median.
  if (texts.empty()) return "#NUM!";
  std::vector<const NumberKey*> key_of(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) key_of[i] = &keys[i];
  const std::size_t n = texts.size();
  // The values up to the middle are all the median needs.
  const std::vector<std::size_t> order = SelectionSortOrder(key_of, false, n / 2 + 1);
  std::string median;
  if (n % 2 != 0) {
    median = texts[order[(n + 1) / 2 - 1]];
  } else {
    const double max_sd = directives.CurrentMaxSD();
    const std::string sum = frame::CalculateText(engine::kAdd, texts[order[n / 2 - 1]], texts[order[n / 2]], max_sd);
    median = frame::CalculateText(engine::kDivide, sum, "2", max_sd);
  }
  return frame::ComposeListResult(median, directives.Options());
}

std::vector<std::size_t> CountOrder(std::span<const std::size_t> counts) {
  const std::size_t n = counts.size();
  std::vector<std::size_t> at(n);
  for (std::size_t i = 0; i < n; ++i) at[i] = i;
  if (n < 2) return at;
  // At place w the exchange sort carries an entry along the later places,
  // trading it for every entry with a greater count that it meets: a chain
  // of ever greater counts. A tree of the largest count over each span of
  // places finds each next link in logarithmic time.
  std::size_t size = 1;
  while (size < n) size *= 2;
  std::vector<std::size_t> tree(2 * size, 0);
  const auto set = [&](std::size_t pos, std::size_t value) {
    std::size_t node = pos + size;
    tree[node] = value;
    for (node /= 2; node >= 1; node /= 2) tree[node] = std::max(tree[2 * node], tree[2 * node + 1]);
  };
  for (std::size_t i = 0; i < n; ++i) tree[size + i] = counts[i];
  for (std::size_t node = size - 1; node >= 1; --node) tree[node] = std::max(tree[2 * node], tree[2 * node + 1]);
  // The first place after `from` whose count is greater than `than`, or n.
  const auto next_greater = [&](std::size_t from, std::size_t than) {
    std::size_t node = from + size;
    // Climb until a right sibling holds a greater count.
    for (;;) {
      if (node == 1) return n;
      if (node % 2 == 0 && tree[node + 1] > than) {
        node += 1;
        break;
      }
      node /= 2;
    }
    // Descend to its first place with a greater count.
    while (node < size) node = tree[2 * node] > than ? 2 * node : 2 * node + 1;
    return node - size;
  };
  for (std::size_t w = 0; w + 1 < n; ++w) {
    std::size_t carried = at[w];
    for (std::size_t q = next_greater(w, counts[carried]); q < n; q = next_greater(q, counts[carried])) {
      std::swap(carried, at[q]);
      set(q, counts[at[q]]);
    }
    at[w] = carried;
  }
  return at;
}

Array TransposeTable(const Array& table) {
  Array out(table.cols, table.rows);
  for (std::size_t r = 1; r <= out.rows; ++r) {
    for (std::size_t c = 1; c <= out.cols; ++c) out.at(r, c) = table.at(table.rows - c + 1, r);
  }
  return out;
}

Value Mode_Function(std::span<const Value> list, std::optional<std::size_t> rows, std::optional<std::size_t> cols) {
  frame::DirectiveReader directives(frame::kMaxSignificantDigits, {"TABLE"}, {"BLANK="});
  // The table in order of first appearance: each value's first spelling and
  // its count; equal values are found by their exact key.
  std::vector<std::string> values;
  std::vector<std::size_t> counts;
  std::unordered_map<std::string, std::size_t> index;
  const frame::WalkEnd end = frame::WalkList(list, directives, [&](const frame::ListItem& item) {
    const std::optional<NumberKey> key = frame::ReadNumberKey(item.upper);
    if (!key) return true;
    const auto [it, added] = index.try_emplace(HashKey(*key), values.size());
    if (added) {
      values.push_back(item.upper);
      counts.push_back(1);
    } else {
      ++counts[it->second];
    }
    return true;
  });
  if (end == frame::WalkEnd::kValueTooLong) return Value::Text("#NUM!");
  // No number at all: no value is the most frequent.
  if (values.empty()) return Value::Text("#NUM!");
  const type_Restrictionator options = directives.Options();

  if (!directives.Word("TABLE")) {
    // The first value whose count no earlier value reaches.
    std::size_t best = 0;
    for (std::size_t i = 1; i < counts.size(); ++i) {
      if (counts[i] > counts[best]) best = i;
    }
    return Value::Text(frame::ComposeListResult(values[best], options));
  }

  const std::vector<std::size_t> order = CountOrder(counts);
  Array table(2, values.size());
  for (std::size_t c = 1; c <= values.size(); ++c) {
    const std::size_t entry = order[c - 1];
    table.at(1, c) = Value::Text(frame::ComposeListResult(values[entry], options));
    table.at(2, c) = Value::Text(frame::ComposeListResult(CountText(counts[entry]), options));
  }
  Array counted = TransposeTable(table);
  const std::optional<std::string> blank = directives.Setting("BLANK=");
  if (blank && rows && cols) counted = CopyToBlock_Function(counted, *rows, *cols, Value::Text(*blank));
  return Value::FromArray(std::move(counted));
}

Value dcmSORT(const Value& numlist, const Value& descending, const Value& left_to_right, const Value& fit_to_array,
              const Value& blank_text, const Value& rows, const Value& cols) {
  return frame::GuardCall([&]() -> Value {
    std::optional<Array> block = BlockOf(numlist);
    if (!block) return Value::Error(HostError::Value);
    std::string blank;
    if (!blank_text.isOmitted()) {
      std::optional<std::string> text = platform::VariantToText(blank_text);
      if (!text) return Value::Error(HostError::Value);
      blank = std::move(*text);
    }
    // The block: the range's own shape where a size is omitted; a size that
    // is no whole number of at least 1 or lies beyond a sheet's grid is an
    // error value, never a block of that size.
    std::size_t r = block->rows;
    std::size_t c = block->cols;
    const SizeRead rr = ReadBlockSize(rows, kMaxBlockRows, r);
    const SizeRead cr = ReadBlockSize(cols, kMaxBlockCols, c);
    if (rr == SizeRead::kNotANumber || cr == SizeRead::kNotANumber) return Value::Error(HostError::Value);
    if (rr == SizeRead::kOutOfRange || cr == SizeRead::kOutOfRange) return Value::Text("#NUM!");
    const double cells = static_cast<double>(r) * static_cast<double>(c);
    if (cells > std::max(kMaxBlockCells, static_cast<double>(block->cells.size()))) return Value::Text("#NUM!");
    const double filled = cells - std::min(cells, static_cast<double>(block->cells.size()));
    if (filled * static_cast<double>(blank.size()) > kMaxFillerChars) return Value::Text("#NUM!");

    const bool across = platform::IsTrueArgument(left_to_right);
    if (across) {
      SortAcross_Function(*block, platform::IsTrueArgument(descending));
    } else {
      Sort_Function(*block, platform::IsTrueArgument(descending));
    }
    const Value blank_cell = Value::Text(blank);
    if (platform::IsTrueArgument(fit_to_array)) {
      return Value::FromArray(FitToBlock_Function(*block, r, c, across, blank_cell));
    }
    if (r == block->rows && c == block->cols) return Value::FromArray(std::move(*block));
    return Value::FromArray(CopyToBlock_Function(*block, r, c, blank_cell));
  });
}

Value dcmLARGE(const Value& numlist, const Value& k) {
  return frame::GuardCall([&]() -> Value {
    const std::optional<Array> block = BlockOf(numlist);
    if (!block) return Value::Error(HostError::Value);
    return Value::Text(LargeSmall_Function(*block, k, false));
  });
}

Value dcmSMALL(const Value& numlist, const Value& k) {
  return frame::GuardCall([&]() -> Value {
    const std::optional<Array> block = BlockOf(numlist);
    if (!block) return Value::Error(HostError::Value);
    return Value::Text(LargeSmall_Function(*block, k, true));
  });
}

Value dcmRANK(const Value& num, const Value& numlist, const Value& ascending, const Value& tie_compensation) {
  return frame::GuardCall([&]() -> Value {
    const std::optional<Array> block = BlockOf(numlist);
    const std::optional<std::string> num_text = platform::VariantToText(num);
    if (!block || !num_text) return Value::Error(HostError::Value);
    return Value::Text(Rank_Function(*num_text, *block, platform::IsTrueArgument(ascending),
                                     platform::IsTrueArgument(tie_compensation)));
  });
}

Value dcmMEDIAN(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return Median_Function(numlist); });
}

Value dcmMODE(std::span<const Value> numlist) {
  return frame::GuardCall([&] { return Mode_Function(numlist); });
}

}  // namespace decimora::functions
