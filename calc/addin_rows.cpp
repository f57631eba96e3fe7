#include "calc/addin_rows.h"

#include <array>
#include <bit>
#include <cmath>
#include <utility>

#include <sys/stat.h>

#include "api/default_maxsd.h"
#include "platform/settings.h"

namespace decimora::calc {

namespace {

// The registry's categories and Calc's group for each.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kGroups{{
    {"High-Precision Operators", "Mathematical"},
    {"High-Precision Math", "Mathematical"},
    {"High-Precision Text", "Text"},
    {"High-Precision Statistical", "Statistical"},
    {"High-Precision Information", "Information"},
    {"Decimora Add-In Information", "Add-In"},
    {"High-Precision Miscellaneous", "Add-In"},
    {"High-Precision - More Info", "Add-In"},
}};

constexpr std::uint64_t kErrorNaN = 0x7FF8000000000000ULL;

}  // namespace

std::vector<const FunctionRow*> HostRows() {
  std::vector<const FunctionRow*> rows;
  for (const FunctionRow& row : FunctionTable()) {
    if (row.category != kWorkerCategory) rows.push_back(&row);
  }
  return rows;
}

std::string_view CalcCategory(std::string_view registry_category) {
  for (const auto& [ours, calc] : kGroups) {
    if (ours == registry_category) return calc;
  }
  return "Add-In";
}

bool HasCalcCategory(std::string_view registry_category) {
  for (const auto& group : kGroups) {
    if (group.first == registry_category) return true;
  }
  return false;
}

std::string ShownDescription(const FunctionRow& row) {
  std::string out(row.description);
  out += " (";
  out += row.category;
  out += ")";
  return out;
}

bool IsFlagParam(const Param& param) { return param.description.starts_with("TRUE"); }

std::uint16_t CalcErrorCode(HostError e) {
  switch (e) {
    case HostError::Null: return 521;
    case HostError::Div0: return 532;
    case HostError::Value: return 519;
    case HostError::Ref: return 524;
    case HostError::Name: return 525;
    case HostError::Num: return 503;
    case HostError::NA: return 32767;
  }
  return 519;
}

double CalcErrorValue(HostError e) { return std::bit_cast<double>(kErrorNaN | CalcErrorCode(e)); }

std::uint16_t CalcErrorCodeOf(double d) {
  if (!std::isnan(d)) return 0;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(d);
  return static_cast<std::uint16_t>(bits & 0xFFFF);
}

Value FromCalcNumber(double d, bool flag) {
  if (flag) return Value::Bool(d != 0);
  return Value::Number(d);
}

Value FromCalcText(std::string_view utf8, bool in_range) {
  if (in_range && utf8.empty()) return Value::Empty();
  return Value::Text(utf8);
}

void RefreshDefaultMaxSD() {
  struct Seen {
    bool loaded = false;
    std::string path;
    struct stat st {};
    bool exists = false;
  };
  thread_local Seen seen;
  std::string path = platform::SettingsPath("Decimora");
  struct stat st {};
  const bool exists = !path.empty() && ::stat(path.c_str(), &st) == 0;
  if (seen.loaded && path == seen.path && exists == seen.exists &&
      (!exists || (st.st_ino == seen.st.st_ino && st.st_size == seen.st.st_size &&
                   st.st_mtim.tv_sec == seen.st.st_mtim.tv_sec && st.st_mtim.tv_nsec == seen.st.st_mtim.tv_nsec))) {
    return;
  }
  api::LoadDefaultMaxSD();
  // Loading may have written the first value: remember the file as it is now.
  seen.exists = !path.empty() && ::stat(path.c_str(), &seen.st) == 0;
  seen.path = std::move(path);
  seen.loaded = true;
}

}  // namespace decimora::calc
