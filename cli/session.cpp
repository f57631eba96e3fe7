#include "cli/session.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <vector>

#include "cli/formula.h"

namespace decimora::cli {

namespace {

bool IsBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string FormulaLabel(std::string_view formula) {
  constexpr std::size_t kMax = 60;
  if (formula.size() <= kMax) return std::string(formula);
  std::size_t cut = kMax;
  // Never cut a UTF-8 sequence in two.
  while (cut > 0 && (static_cast<unsigned char>(formula[cut]) & 0xC0) == 0x80) --cut;
  return std::string(formula.substr(0, cut)) + "...";
}

std::string DidYouMean(std::string_view unknown) {
  const std::vector<std::string> names = SuggestNames(unknown);
  if (names.empty()) return "";
  std::string hint = "did you mean ";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) hint.append(i + 1 == names.size() ? " or " : ", ");
    hint.append("'").append(names[i]).append("'");
  }
  hint.push_back('?');
  return hint;
}

void Session::SuggestFor(const std::vector<std::string>& unknown_names) {
  std::vector<std::string> seen;
  for (const std::string& name : unknown_names) {
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
    seen.push_back(name);
    const std::string hint = DidYouMean(name);
    if (!hint.empty()) console_.Warning("unknown function '" + name + "'; " + hint);
  }
}

void Session::Run(std::string_view formula, std::string_view where, bool keep_aligned) {
  const std::string prefix = where.empty() ? std::string() : std::string(where) + ": ";
  std::vector<std::string> unknown;
  try {
    const Value result = EvaluateFormula(dcm_, formula, &unknown);
    SuggestFor(unknown);
    console_.Result(result);
  } catch (const FormulaError& e) {
    console_.Error(prefix + "column " + std::to_string(e.column) + ": " + e.message);
    if (keep_aligned) console_.EmptyResult();
    Fail(kExitSyntax);
  } catch (const std::exception& e) {
    // The library answers every failure with a value; reaching this is a
    // fault of ours, reported as such instead of a plausible result.
    console_.Error(prefix + "internal error: " + e.what());
    if (keep_aligned) console_.EmptyResult();
    Fail(kExitInternal);
  }
}

void Session::RunArguments(const std::vector<std::string>& formulas) {
  for (const std::string& f : formulas) Run(f, FormulaLabel(f));
}

void Session::RunBatchLine(std::string_view line, std::size_t number) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // files written on Windows
  if (IsBlank(line)) {
    console_.EmptyResult();
    return;
  }
  Run(line, "line " + std::to_string(number));
}

void Session::RunBatch(int fd) {
  // Input is read in large blocks and each line evaluated in place, so a
  // batch costs one pass over its text; results are buffered and written
  // when the buffer fills and before every read, so a program that feeds a
  // pipe one line at a time still gets each answer before it sends the next.
  constexpr std::size_t kBlock = std::size_t{1} << 20;
  std::vector<char> buf(kBlock);
  std::size_t begin = 0;  // first unread character of the current line
  std::size_t end = 0;    // end of the data in buf
  std::size_t scanned = 0;  // buf[begin, scanned) holds no newline
  std::size_t number = 0;
  console_.SetLineBuffered(false);
  for (;;) {
    const char* nl = static_cast<const char*>(std::memchr(buf.data() + scanned, '\n', end - scanned));
    if (nl != nullptr) {
      const std::size_t at = static_cast<std::size_t>(nl - buf.data());
      RunBatchLine(std::string_view(buf.data() + begin, at - begin), ++number);
      begin = scanned = at + 1;
      continue;
    }
    // No full line left: keep the partial one at the front and read more.
    if (begin > 0) {
      std::memmove(buf.data(), buf.data() + begin, end - begin);
      end -= begin;
      begin = 0;
    }
    scanned = end;
    if (buf.size() - end < kBlock / 2) buf.resize(buf.size() * 2);  // a line longer than the block
    console_.Flush();
    ssize_t got = 0;
    do {
      got = ::read(fd, buf.data() + end, buf.size() - end);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) break;  // end of input (a read error ends it too)
    end += static_cast<std::size_t>(got);
  }
  if (end > begin) RunBatchLine(std::string_view(buf.data() + begin, end - begin), ++number);
  console_.SetLineBuffered(true);
}

void Session::RunInteractive(const std::function<std::optional<std::string>()>& read_line) {
  for (;;) {
    const std::optional<std::string> line = read_line();
    if (!line) break;
    const std::string_view text = Trim(*line);
    if (text.empty()) continue;
    if (text == "quit" || text == "exit") break;
    Run(*line, "", false);  // untrimmed, so columns match what was typed
  }
}

}  // namespace decimora::cli
