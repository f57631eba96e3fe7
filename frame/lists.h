// The argument lists of the list functions (sums, extremes, GCD and LCM,
// median and mode, text extraction): one walker that turns an open-ended
// list of values and ranges into a sequence of value texts, and one reader
// for the "FORMAT:" directives that travel inside such a list.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/restrictionator.h"
#include "platform/variant.h"

namespace decimora::frame {

// A list value whose upper-cased text begins with this is a directive.
inline constexpr std::string_view kDirectivePrefix = "FORMAT:";

// ASCII letters to capitals; every other byte (UTF-8 included) as it is.
std::string ToUpperText(std::string_view text);

// Whether an upper-cased value text is a directive.
bool IsDirective(std::string_view upper_text);

// Gathers the options of the directives of one call. Every item is found by
// substring search on the upper-cased directive: the words only switch on
// (a later directive cannot switch anything off), and a "KEY=" item takes
// the first value given for it. Once every item has been seen, further
// directives are skipped unread.
//
// The five items every list function knows: NEGATIVE, THOUSANDS, CURRENCY,
// EXPONENT and MSD= (followed by digits). A function may know more: further
// switch words (e.g. TABLE) and further text settings (e.g. BLANK=), whose
// text runs from after the key to the first "&" or the end of the directive
// and keeps the directive's own letter case.
//
// An "MSD=" that is not followed by a digit sets nothing: it does not count
// as the first "MSD=", so a later one with digits still applies.
class DirectiveReader {
 public:
  // max_sd_default: the maxSD when no "MSD=" is given (32,767 for the
  // aggregates, DefaultMaxSD() for GCD and LCM).
  explicit DirectiveReader(double max_sd_default, std::vector<std::string> extra_words = {},
                           std::vector<std::string> extra_settings = {});

  // One directive, in any letter case (the caller has checked IsDirective).
  void Read(std::string_view directive);
  bool AllSeen() const;

  bool Negative() const { return negative_; }
  bool Thousands() const { return thousands_; }
  bool Currency() const { return currency_; }
  bool Exponent() const { return exponent_; }
  // The first "MSD=" value, if one was given.
  const std::optional<double>& MaxSD() const { return max_sd_; }
  // That value, or the default.
  double CurrentMaxSD() const { return max_sd_ ? *max_sd_ : max_sd_default_; }

  // An extra switch word (given at construction) seen in some directive.
  bool Word(std::string_view word) const;
  // The text of an extra setting (given at construction), if one was given.
  std::optional<std::string> Setting(std::string_view key) const;

  // The gathered options normalised by Restrictionator: negative format 2
  // with NEGATIVE and 1 without, the three flags, maxSD as above (capped at
  // 32,767 like any other maxSD), no fixed decimal places.
  type_Restrictionator Options() const;

 private:
  struct Extra {
    std::string key;
    bool seen = false;
    std::string value;  // settings only
  };
  double max_sd_default_;
  bool negative_ = false;
  bool thousands_ = false;
  bool currency_ = false;
  bool exponent_ = false;
  std::optional<double> max_sd_;
  std::vector<Extra> words_;
  std::vector<Extra> settings_;
};

// One value of a walked list, as the worker sees it.
struct ListItem {
  const std::string& text;   // in its own letter case; "#VALUE!" for a host error
  const std::string& upper;  // upper-cased: what the number readers get
  bool in_array;             // a cell of a range or array argument
};

struct ListWalkOptions {
  // The first non-empty value is data even when it reads as a directive
  // (the subject of text extraction).
  bool first_value_is_data = false;
  // The values are texts, never numbers (text extraction): a host error in
  // a cell of a range is read as the text the cell shows ("#N/A"), while a
  // top-level one still becomes "#VALUE!"; and no value is refused for
  // reading as a number too long for a cell.
  bool values_are_text = false;
};

// Returns false to end the walk early.
using ListVisitor = std::function<bool(const ListItem&)>;

// How a walk ended.
enum class WalkEnd {
  kCompleted,     // every value seen
  kStopped,       // the visitor ended it
  kValueTooLong,  // a number that no cell can hold: the call is "#NUM!"
};

// Whether a value text reads as a number whose integer part has more digits
// than a cell's 32,767 characters, such as 3E+40000, or whose exponent is
// too large to expand at all (1E+2000000000). Tiny numbers (1E-40000) fit:
// their significant digits are few.
bool IsNumberTooLongForCell(std::string_view upper_text);

// Walks an open-ended list in argument order; an array argument row by row,
// each row from the first column to the last. For each value:
// - a host error value (at the top level or in a cell) becomes the text
//   "#VALUE!", an error text that no number reader accepts (with
//   values_are_text, one in a cell is the text it shows);
// - empty and omitted values are skipped;
// - a directive goes to `directives`;
// - a number too long for a cell ends the walk with kValueTooLong: no list
//   function may drop it (its answer would be wrong) or count it (it could
//   not compute with it) (not with values_are_text);
// - anything else is handed to `visit`.
WalkEnd WalkList(std::span<const Value> list, DirectiveReader& directives, const ListVisitor& visit,
                 const ListWalkOptions& options = {});

// The result of a list function: a signed number text (an accumulator, or
// the error text it became) composed with the directive options. The empty
// text stays empty.
std::string ComposeListResult(std::string_view number, const type_Restrictionator& options);

}  // namespace decimora::frame
