// Text extraction and exclusion: dcmEXCLUDE removes the listed texts from
// the first value of its list, dcmEXTRACT keeps only their occurrences, and
// dcmEXCLUDENOTNUM and dcmEXTRACTNUM pull a number out of what is left. The
// list carries "FORMAT:" directives too, and the cleaned text is written
// like any computed number.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/restrictionator.h"
#include "platform/variant.h"

namespace decimora::functions {

// What a text function's list holds: the first non-empty value is the
// subject, later ones are patterns (in their own letter case, in list
// order) or directives. A host error at the top level is the text
// "#VALUE!"; one in a cell of a range is the text the cell shows ("#N/A").
struct TextArguments {
  std::string subject;
  std::vector<std::string> patterns;
  type_Restrictionator options;  // maxSD 32,767 unless a directive says otherwise
};
TextArguments GatherTextArguments(std::span<const Value> numlist);

// For each pattern in list order, removes its occurrences from `subject`
// (exact, case-sensitive), always the first one left, until none is left;
// so removing a pattern can join a new occurrence of itself (which goes
// too), but one of an earlier pattern stays. Linear in the subject per
// pattern.
std::string ExcludePatterns(std::string subject, const std::vector<std::string>& patterns);

// The number scanner: decides character by character what of a text is
// kept as a number. The decimal separator is the locale's.
class NumberScanner {
 public:
  NumberScanner();
  // Writes what c keeps at `out` (at most two characters: a sign of an
  // exponent comes with its "E") and returns the end of what it wrote.
  char* Feed(char c, char* out);
  // The tail of a scanned text: a dangling "E", "E+" or "E-" goes, and a
  // number closed in parentheses gets its "-".
  void Finish(std::string& text) const;

 private:
  void ExponentSign(char sign, char*& out);

  char separator_;
  bool digit_seen_ = false;
  bool separator_seen_ = false;
  bool first_mantissa_digit_ = false;
  bool mantissa_accepts_exponent_ = false;
  bool exponent_allowed_ = true;
  bool e_pending_ = false;
  bool exponent_sign_seen_ = false;
  bool parenthesis_open_ = false;
  bool negate_ = false;
};

// The number a text holds, by the scanner: 1.5E+3 kg gives 1.5E+3, (42)
// gives -42; no number, the empty text.
std::string ScanNumber(std::string_view text);

// Walks the subject one character at a time: where a pattern starts (the
// first in list order that matches), its text is appended and the walk
// moves on by one character only, so overlapping occurrences are all taken;
// with scan_numbers, every character no pattern matched goes through the
// number scanner into the same text. A text that grows longer than a cell
// stops the walk: "#NUM!".
std::string ExtractPatterns(std::string_view subject, const std::vector<std::string>& patterns, bool scan_numbers);

// The worksheet functions: the result text composed with the directives'
// options (an error text or the empty text as it is).
Value dcmEXCLUDE(std::span<const Value> numlist);
Value dcmEXCLUDENOTNUM(std::span<const Value> numlist);
Value dcmEXTRACT(std::span<const Value> numlist);
Value dcmEXTRACTNUM(std::span<const Value> numlist);

}  // namespace decimora::functions
