#include "cli/session.h"

#include <algorithm>
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

void Session::RunBatch(std::istream& in) {
  std::string line;
  std::size_t number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // files written on Windows
    if (IsBlank(line)) {
      console_.EmptyResult();
      continue;
    }
    Run(line, "line " + std::to_string(number));
  }
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
