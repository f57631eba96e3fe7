// Fuzzes the formula evaluator of the command line with arbitrary formulas
// under every locale setting (see fuzz_input.h for the settings line).
//
// Beyond "no crash, no sanitizer report, no exception": a worksheet
// function's text result always fits in a cell, also inside an array.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cli/formula.h"
#include "fuzz/fuzz_input.h"
#include "api/registry.h"

namespace {

using decimora::Value;

std::unique_ptr<decimora::cls_Decimora> g_dcm;

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// The worksheet function the formula calls at its top level, if any (the
// public workers return records and host values, which have no cell bound).
const decimora::FunctionRow* TopLevelFunction(std::string_view f) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t i = 0;
  while (i < f.size() && blank(f[i])) ++i;
  if (i < f.size() && f[i] == '=') ++i;
  while (i < f.size() && blank(f[i])) ++i;
  const std::size_t start = i;
  while (i < f.size() && IsNameChar(f[i])) ++i;
  const decimora::FunctionRow* row = decimora::FindFunction(f.substr(start, i - start));
  if (row == nullptr || row->category == decimora::kWorkerCategory) return nullptr;
  if (decimora::fuzz::ReturnsStoredConstant(row->name)) return nullptr;
  return row;
}

void CheckCellSized(const Value& v, std::string_view formula) {
  if (v.isText() && v.text().size() > decimora::fuzz::kCellLength) {
    decimora::fuzz::Fail("a text result longer than a cell", formula,
                         "result length " + std::to_string(v.text().size()));
  }
  if (v.isArray()) {
    for (const Value& cell : v.array().cells) CheckCellSized(cell, formula);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  decimora::fuzz::UsePrivateSettingsStore();
  g_dcm = std::make_unique<decimora::cls_Decimora>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const decimora::fuzz::Input in = decimora::fuzz::ReadInput(data, size);
  if (decimora::fuzz::IsKnownSlowPath(in.body)) return 0;
  decimora::fuzz::ApplyLocale(in);
  Value result;
  try {
    result = decimora::cli::EvaluateFormula(*g_dcm, in.body);
  } catch (const decimora::cli::FormulaError&) {
    return 0;  // a syntax error is a proper answer; anything else thrown is a fault
  }
  if (TopLevelFunction(in.body) != nullptr) CheckCellSized(result, in.body);
  return 0;
}
