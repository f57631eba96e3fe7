// Everything the command line writes goes through here: results in plain or
// JSON form, texts such as the usage, and diagnostics with one fixed prefix.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::cli {

// Plain form: text raw, TRUE/FALSE, a host number as the platform writes it,
// a host error as its text, empty or omitted as "", an array one line per
// row with TAB-separated cells (rows joined by '\n', no final newline).
std::string RenderPlain(const Value& v);

// Plain form on one line, for batch mode where each formula owns exactly one
// output line: a scalar as RenderPlain; an array in the formula syntax's own
// notation, {1,2;3,4}, so it can be read back as a formula. A text cell is
// written bare when it reads back as the same bare number, else "quoted".
std::string RenderPlainLine(const Value& v);

// JSON form, always one line: "text", true/false, a number, null for empty,
// {"error":"#N/A"} for a host error, [[...],[...]] for an array.
std::string RenderJson(const Value& v);

class Console {
 public:
  Console(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  void SetJson(bool json) { json_ = json; }
  // Plain arrays on one line (RenderPlainLine) instead of one line per row.
  void SetArraysOnOneLine(bool one_line) { one_line_ = one_line; }
  // Results are flushed line by line unless line buffering is off (batch
  // mode, which flushes before it waits for input, so a program driving it
  // through a pipe still sees each answer before it sends the next line).
  void SetLineBuffered(bool on) { line_buffered_ = on; }
  void Result(const Value& v);
  // Stands in for a formula that gave no result, keeping output aligned.
  void EmptyResult();
  void Flush();
  void Print(std::string_view text);  // as is, to standard output
  void Prompt(std::string_view prompt);
  void Error(std::string_view message);    // "decimora: error: ..."
  void Warning(std::string_view message);  // "decimora: warning: ..."

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool json_ = false;
  bool one_line_ = false;
  bool line_buffered_ = true;
};

}  // namespace decimora::cli
