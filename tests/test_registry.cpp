// Lints the registration table (the host refuses or mislabels rows that break
// these rules, and the command line relies on them), runs every available
// row's example, and checks how calls are dispatched through it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "api/registry.h"
#include "cli/formula.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/reference.h"
#include "platform/system.h"

namespace decimora {
namespace {

constexpr std::string_view kHint = "\"format:negative,thousands,currency,exponent,MSD=n\"";

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

bool IsHostRow(const FunctionRow& row) { return row.category != kWorkerCategory; }

// The host's categories in registration order, with the number of rows each holds.
const std::vector<std::pair<std::string_view, int>> kCategories = {
    {"High-Precision Operators", 12},    {"High-Precision Math", 42},       {"High-Precision Text", 4},
    {"High-Precision Statistical", 10},  {"High-Precision Information", 4}, {"Decimora Add-In Information", 3},
    {"High-Precision Miscellaneous", 2}, {"High-Precision - More Info", 1},
};

TEST(RegistryTable, HostRowsComeFirstInCategoryOrder) {
  const auto& table = FunctionTable();
  // Collapse the host rows into runs of one category each: a category split
  // in two, out of order or miscounted shows up here.
  std::vector<std::pair<std::string_view, int>> runs;
  bool workers_started = false;
  for (const FunctionRow& row : table) {
    if (!IsHostRow(row)) {
      workers_started = true;
      continue;
    }
    EXPECT_FALSE(workers_started) << row.name << " comes after the workers";
    if (runs.empty() || runs.back().first != row.category) runs.emplace_back(row.category, 0);
    ++runs.back().second;
  }
  EXPECT_EQ(runs, kCategories);
  EXPECT_TRUE(workers_started);
}

TEST(RegistryTable, NamesAreUniqueAndPrefixed) {
  std::set<std::string> seen;
  for (const FunctionRow& row : FunctionTable()) {
    ASSERT_FALSE(row.name.empty());
    EXPECT_TRUE(seen.insert(Lower(row.name)).second) << "duplicate name " << row.name;
    if (IsHostRow(row) && row.name != "More_Information") {
      EXPECT_TRUE(row.name.starts_with("dcm")) << row.name;
    }
  }
  // Rows the host registers under names other than the class's methods.
  EXPECT_TRUE(seen.contains("dcmpi"));
  EXPECT_TRUE(seen.contains("dcmxla"));
  EXPECT_TRUE(seen.contains("more_information"));
}

TEST(RegistryTable, ParameterListsAreConsistent) {
  for (const FunctionRow& row : FunctionTable()) {
    SCOPED_TRACE(std::string(row.name));
    std::set<std::string> names;
    bool optional_seen = false;
    for (const Param& p : row.params) {
      EXPECT_FALSE(p.name.empty());
      EXPECT_TRUE(names.insert(Lower(p.name)).second) << "duplicate parameter " << p.name;
      if (p.optional) optional_seen = true;
      EXPECT_FALSE(optional_seen && !p.optional) << "required " << p.name << " after an optional one";
    }
    if (row.openEnded) {
      EXPECT_FALSE(row.params.empty());
    }
  }
}

TEST(RegistryTable, DescriptionsFollowTheStyle) {
  for (const FunctionRow& row : FunctionTable()) {
    SCOPED_TRACE(std::string(row.name));
    const std::string_view d = row.description;
    EXPECT_TRUE(d.ends_with(".") || d.ends_with(kHint)) << d;
    // The host keeps at most 255 characters of a function's description.
    EXPECT_LE(d.size(), 255u);
    // A list function takes its options as directives; the wizard must show how.
    if (row.openEnded) {
      EXPECT_TRUE(d.ends_with(kHint)) << d;
    }
  }
  EXPECT_EQ(FindFunction("dcmADD")->description,
            "Adds two numbers, with up to 32,767 significant digits of precision.");
  EXPECT_EQ(FindFunction("dcmVERSION")->description, "Returns the version number of Decimora.");
  EXPECT_TRUE(FindFunction("dcmSORT")->description.ends_with("Must be array-entered."));
}

// What a host's function wizard shows: every parameter described, and one
// example whose formula calls the row itself.
TEST(RegistryTable, EveryRowCarriesWhatTheWizardShows) {
  for (const FunctionRow& row : FunctionTable()) {
    SCOPED_TRACE(std::string(row.name));
    for (const Param& p : row.params) {
      EXPECT_TRUE(p.description.ends_with(".")) << p.name << ": " << p.description;
      EXPECT_LE(p.description.size(), 255u) << p.name;
    }
    EXPECT_TRUE(Lower(row.example).starts_with("=" + Lower(row.name) + "(")) << row.example;
    EXPECT_FALSE(row.exampleResult.empty());
  }
  EXPECT_TRUE(FindFunction("dcmREDUCEFRACTION")->returnsArray);
  EXPECT_TRUE(FindFunction("dcmSORT")->returnsArray);
  EXPECT_TRUE(FindFunction("Osrel_Divide")->returnsArray);
  EXPECT_FALSE(FindFunction("dcmADD")->returnsArray);
}

TEST(RegistryLookup, IsCaseInsensitive) {
  const FunctionRow* pi = FindFunction("dcmPI");
  ASSERT_NE(pi, nullptr);
  EXPECT_EQ(FindFunction("dcmPi"), pi);
  EXPECT_EQ(FindFunction("dcmpi"), pi);
  ASSERT_NE(FindFunction("DCMADD"), nullptr);
  EXPECT_EQ(FindFunction("DCMADD")->name, "dcmADD");
  ASSERT_NE(FindFunction("osrel_divide"), nullptr);
  EXPECT_EQ(FindFunction("osrel_divide")->category, kWorkerCategory);
  EXPECT_EQ(FindFunction("dcmADDX"), nullptr);
  EXPECT_EQ(FindFunction(""), nullptr);
}

// The settings store must not be the user's own while the object loads its default.
class RegistryCall : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::filesystem::temp_directory_path() / ("decimora-registry-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }
  static inline std::filesystem::path dir_;
};

// Synthetic rows check the dispatcher without depending on any function's digits.
std::size_t g_seen_args = 0;
Value CountArgs(cls_Decimora&, std::span<const Value> args) {
  g_seen_args = args.size();
  for (const Value& v : args) {
    if (v.isText() && v.text() == "throw") throw std::runtime_error("boom");
  }
  return Value::Text("ok");
}

FunctionRow Synthetic(std::vector<std::string_view> params, bool open_ended, Entry entry) {
  FunctionRow row;
  row.name = "t";
  row.category = kWorkerCategory;
  row.description = "t.";
  for (std::size_t i = 0; i < params.size(); ++i) row.params.push_back({params[i], i > 0, ""});
  row.openEnded = open_ended;
  row.entry = entry;
  return row;
}

TEST_F(RegistryCall, PadsChecksCountAndContainsExceptions) {
  cls_Decimora dcm;
  const FunctionRow fixed = Synthetic({"a", "b", "c"}, false, CountArgs);
  EXPECT_EQ(CallFunction(dcm, fixed, {Value::Text("1")}), Value::Text("ok"));
  EXPECT_EQ(g_seen_args, 3u);
  EXPECT_EQ(CallFunction(dcm, fixed, std::vector<Value>(4, Value::Text("1"))), Value::Error(HostError::Value));
  EXPECT_EQ(CallFunction(dcm, fixed, {Value::Text("throw")}), Value::Error(HostError::Value));

  const FunctionRow list = Synthetic({"numlist"}, true, CountArgs);
  EXPECT_EQ(CallFunction(dcm, list, std::vector<Value>(5, Value::Text("1"))), Value::Text("ok"));
  EXPECT_EQ(g_seen_args, 5u);
  EXPECT_EQ(CallFunction(dcm, list, {}), Value::Text("ok"));
  EXPECT_EQ(g_seen_args, 1u);

  const FunctionRow missing = Synthetic({}, false, nullptr);
  EXPECT_EQ(CallFunction(dcm, missing, {}), Value::Error(HostError::Name));
  EXPECT_EQ(CallFunction(dcm, *FindFunction("More_Information"), {}), Value::Error(HostError::Name));
}

TEST_F(RegistryCall, RealEntriesUnpackTheirArguments) {
  cls_Decimora dcm;
  EXPECT_EQ(CallFunction(dcm, *FindFunction("dcmADD"), {Value::Text("0.1"), Value::Text("0.2")}), Value::Text("0.3"));
  // format_negative 2 reaches the right parameter: parentheses.
  EXPECT_EQ(CallFunction(dcm, *FindFunction("dcmSUBTRACT"), {Value::Text("3"), Value::Text("12.5"), Value::Text("2")}),
            Value::Text("(9.5)"));
  EXPECT_EQ(CallFunction(dcm, *FindFunction("dcmISEQUAL"), {Value::Text("1.10"), Value::Text("1.1"), Value::Text("1")}),
            Value::Error(HostError::Value));

  // A record comes back as one row of its fields, in order.
  Value r = CallFunction(
      dcm, *FindFunction("Restrictionator"),
      {Value::Text("2"), Value::Bool(true), Value(), Value::Bool(true), Value::Text("50"), Value::Text("3")});
  ASSERT_TRUE(r.isArray());
  const Array& a = r.array();
  ASSERT_EQ(a.rows, 1u);
  ASSERT_EQ(a.cols, 7u);
  EXPECT_EQ(a.at(1, 1), Value::Number(2));
  EXPECT_EQ(a.at(1, 2), Value::Bool(false));  // exponential notation switches grouping off
  EXPECT_EQ(a.at(1, 3), Value::Bool(false));
  EXPECT_EQ(a.at(1, 4), Value::Bool(true));
  EXPECT_EQ(a.at(1, 5), Value::Number(50));
  EXPECT_EQ(a.at(1, 6), Value::Text("3"));
  EXPECT_EQ(a.at(1, 7), Value::Bool(false));

  Value p = CallFunction(dcm, *FindFunction("PublicRestrictionatorCaller"), {});
  ASSERT_TRUE(p.isArray());
  EXPECT_EQ(p.array().at(1, 5), Value::Number(100));  // the default of a fresh store
  EXPECT_EQ(p.array().at(1, 6), Value::Empty());      // no fixed decimal places given

  // A maximum that is not a number takes the default; the call never fails.
  Value x = CallFunction(dcm, *FindFunction("Restrictionator"), {Value(), Value(), Value(), Value(), Value::Text("x")});
  ASSERT_TRUE(x.isArray());
  EXPECT_EQ(x.array().at(1, 5), Value::Number(100));
  EXPECT_EQ(CallFunction(dcm, *FindFunction("dcmDEFAULTMAXSD"), {}), Value::Number(100));
}

// The reference page shows every row with all the wizard shows.
TEST(RegistryTable, ReferencePageShowsEveryRow) {
  const std::string html = cli::ReferenceHtml();
  for (const FunctionRow& row : FunctionTable()) {
    SCOPED_TRACE(std::string(row.name));
    const std::size_t at = html.find("<section id=\"" + std::string(row.name) + "\">");
    ASSERT_NE(at, std::string::npos);
    const std::string section = html.substr(at, html.find("</section>", at) - at);
    for (std::string_view part : {std::string_view(row.description), row.example, row.exampleResult}) {
      EXPECT_NE(section.find(cli::EscapeHtml(part)), std::string::npos) << part;
    }
    EXPECT_NE(section.find(cli::EscapeHtml(cli::Signature(row))), std::string::npos);
    for (const Param& p : row.params) {
      EXPECT_NE(section.find("<code>" + cli::EscapeHtml(p.name) + "</code>"), std::string::npos) << p.name;
      EXPECT_NE(section.find(cli::EscapeHtml(p.description)), std::string::npos) << p.name;
    }
    EXPECT_EQ(section.find("Not available yet.") != std::string::npos, row.entry == nullptr);
  }
  EXPECT_EQ(cli::EscapeHtml("=f(\"a<b\" & c>)"), "=f(&quot;a&lt;b&quot; &amp; c&gt;)");
}

// An example result with the machine's own values in place of the placeholders.
std::string MachineExampleResult(std::string_view promised) {
  std::string out(promised);
  const std::pair<std::string_view, std::string> kPlaceholders[] = {
      {DCM_EXAMPLE_LOGIN_NAME, platform::UserLoginName()},
      {DCM_EXAMPLE_LIBRARY_DIRECTORY, platform::LibraryDirectory()},
  };
  for (const auto& [placeholder, value] : kPlaceholders) {
    const std::size_t at = out.find(placeholder);
    if (at != std::string::npos) out.replace(at, placeholder.size(), value);
  }
  return out;
}

// Every available row's example, through the command line's evaluator, gives
// the result the row promises (as the command line prints it).
TEST_F(RegistryCall, EveryAvailableExampleGivesItsResult) {
  cls_Decimora dcm;
  for (const FunctionRow& row : FunctionTable()) {
    if (row.entry == nullptr) continue;
    SCOPED_TRACE(std::string(row.name));
    const Value result = cli::EvaluateFormula(dcm, row.example);
    EXPECT_EQ(cli::RenderPlain(result), MachineExampleResult(row.exampleResult)) << row.example;
    EXPECT_EQ(result.isArray(), row.returnsArray) << row.example;
  }
}

}  // namespace
}  // namespace decimora
