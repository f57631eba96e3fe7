// Sorting and order statistics: a sorted copy of a range (dcmSORT), the k-th
// largest or smallest number (dcmLARGE, dcmSMALL), the rank of a number
// (dcmRANK), the median (dcmMEDIAN) and the most frequent value or a
// frequency table (dcmMODE). Numbers are ordered by the exact comparison of
// number texts, so numbers of any length order correctly; values that are
// not numbers are put behind the numbers instead of failing the call.
//
// The arrangement every function sees is that of one selection sort: step i
// exchanges the cell at i with the first-met smallest (largest) number at or
// after i. Equal numbers spelled differently (2 and 2.0) and the values that
// are not numbers end up where those exchanges leave them, and results such
// as the k-th largest text "as it stands" depend on it. The sort here gives
// exactly that arrangement without the selection sort's quadratic cost.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/calculate.h"
#include "platform/variant.h"

namespace decimora::functions {

// --- Worksheet functions -----------------------------------------------------

// A sorted copy of numlist (a range; a single value is a 1 x 1 range),
// written into a rows x cols block. rows or cols omitted: the range's own
// number of rows or columns. rows or cols below 1, or a block beyond a
// sheet's grid, give "#NUM!".
Value dcmSORT(const Value& numlist, const Value& descending = {}, const Value& left_to_right = {},
              const Value& fit_to_array = {}, const Value& blank_text = {}, const Value& rows = {},
              const Value& cols = {});
Value dcmLARGE(const Value& numlist, const Value& k);
Value dcmSMALL(const Value& numlist, const Value& k);
Value dcmRANK(const Value& num, const Value& numlist, const Value& ascending = {},
              const Value& tie_compensation = {});
Value dcmMEDIAN(std::span<const Value> numlist);
// The list is the only argument: a frequency table is returned as it is
// (the size of an array-entered block is the host's to give).
Value dcmMODE(std::span<const Value> numlist);

// --- Workers -----------------------------------------------------------------

// The selection sort's final arrangement of a sequence whose cells have the
// given keys (nullptr: the cell is not a number): result[pos] is the index
// of the cell that ends at pos. Only the first `steps` steps are run (the
// first `steps` places are then final), so the k-th value costs a heap and
// k exchanges, not a whole sort.
std::vector<std::size_t> SelectionSortOrder(std::span<const frame::NumberKey* const> keys, bool descending,
                                            std::size_t steps = static_cast<std::size_t>(-1));

// The key of a cell's text, or nullopt when it is not a number (texts that
// do not read as one, Booleans, host errors, empty cells).
std::optional<frame::NumberKey> CellKey(const Value& cell);

// Sorts the cells of a block in place in the down reading order (column by
// column, each from top to bottom) or, across, row by row. Empty cells become
// empty texts, as the sort meets them.
void Sort_Function(Array& block, bool descending);
void SortAcross_Function(Array& block, bool descending);

// The rows x cols block of the sorted values read and written in the same
// reading order (across when left_to_right); cells left over get blank.
Array FitToBlock_Function(const Array& sorted, std::size_t rows, std::size_t cols, bool left_to_right,
                          const Value& blank);
// The rows x cols block holding the sorted block's cell (r, c) where that
// exists, blank elsewhere.
Array CopyToBlock_Function(const Array& sorted, std::size_t rows, std::size_t cols, const Value& blank);

// The k-th largest (smallest) number of a block, as its text stands; "#NUM!"
// for an empty k, a k out of 1..cells or a k-th cell that is not a number.
// A k that is not a number fails the call (throws frame::CallFailed). A k
// with a fraction counts as its integer part.
std::string LargeSmall_Function(const Array& block, const Value& k, bool smallest);

// The rank of num among the numbers of a block (2, or 2.5 with tie
// compensation); "#NUM!" when num is not a number.
std::string Rank_Function(std::string_view num, const Array& block, bool ascending, bool tie_compensation);

// The median of the numbers of an argument list, composed with its
// directives; "#NUM!" when the list holds no number.
std::string Median_Function(std::span<const Value> list);

// The most frequent number of an argument list (text), or with the
// directive item TABLE the table of counts and values, most frequent first
// (an array). With a "BLANK=" text and a block size the table is copied into
// that block; "#NUM!" when the list holds no number.
Value Mode_Function(std::span<const Value> list, std::optional<std::size_t> rows = std::nullopt,
                    std::optional<std::size_t> cols = std::nullopt);

// The order of the frequency table's entries after its exchange sort (for
// each place w, every later entry with a greater count is exchanged into w):
// result[pos] is the index of the entry that ends at pos.
std::vector<std::size_t> CountOrder(std::span<const std::size_t> counts);

// The transpose of a block with the new columns in reverse order: a 2 x n
// table (values, counts) becomes n rows of (count, value).
Array TransposeTable(const Array& table);

}  // namespace decimora::functions
