// One run of the command line: evaluates formulas given as arguments, read
// from a stream, or typed at a prompt, and keeps the exit status.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "api/cls_decimora.h"
#include "cli/output.h"

namespace decimora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitInternal = 1;
inline constexpr int kExitSyntax = 2;

class Session {
 public:
  explicit Session(Console& console) : console_(console) {}

  // Evaluates one formula and prints its result. A syntax error is reported
  // on stderr as "decimora: error: <where>: column C: <message>" (without
  // "<where>: " when where is empty); with keep_aligned, an empty output
  // line stands in for the missing result.
  void Run(std::string_view formula, std::string_view where, bool keep_aligned = true);

  // Formulas as command-line arguments; each is named by its own text.
  void RunArguments(const std::vector<std::string>& formulas);
  // One formula per line from the file descriptor fd, read to its end; an
  // empty (or blank) line prints an empty line.
  void RunBatch(int fd);
  // read_line gives the next line, or nothing at the end of input.
  void RunInteractive(const std::function<std::optional<std::string>()>& read_line);

  int ExitStatus() const { return status_; }

 private:
  void Fail(int status) {
    if (status > status_) status_ = status;
  }
  void SuggestFor(const std::vector<std::string>& unknown_names);
  void RunBatchLine(std::string_view line, std::size_t number);

  Console& console_;
  cls_Decimora dcm_;
  int status_ = kExitOk;
};

// Says where a formula stands in a diagnostic: its text, shortened when long.
std::string FormulaLabel(std::string_view formula);

// "did you mean 'dcmADD'?" or "did you mean 'a' or 'b'?"; empty when there
// is nothing close to suggest.
std::string DidYouMean(std::string_view unknown);

}  // namespace decimora::cli
