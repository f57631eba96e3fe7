// The Calc add-in's model: what Calc is told about each function (from the
// registry), the generated interface agreeing with the registry, Calc's error
// values, the argument conversions, and a saved default reaching later calls.

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "api/registry.h"
#include "calc/addin_rows.h"
#include "calc/maxsd_dialog.h"
#include "frame/restrictionator.h"
#include "platform/settings.h"

namespace decimora::calc {
namespace {

std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CalcRows, EveryHostRowAndNoWorker) {
  std::size_t host = 0;
  for (const FunctionRow& row : FunctionTable()) host += row.category != kWorkerCategory;
  const auto rows = HostRows();
  EXPECT_EQ(rows.size(), host);
  for (const FunctionRow* row : rows) EXPECT_NE(row->category, kWorkerCategory) << row->name;
}

TEST(CalcRows, CategoriesMapOntoCalcGroupsAndStayVisible) {
  for (const FunctionRow* row : HostRows()) {
    SCOPED_TRACE(std::string(row->name));
    // A new registry category needs a deliberate choice of Calc group.
    EXPECT_TRUE(HasCalcCategory(row->category));
    EXPECT_NE(ShownDescription(*row).find(std::string("(") + std::string(row->category) + ")"), std::string::npos);
  }
  EXPECT_EQ(CalcCategory("High-Precision Operators"), "Mathematical");
  EXPECT_EQ(CalcCategory("High-Precision Math"), "Mathematical");
  EXPECT_EQ(CalcCategory("High-Precision Text"), "Text");
  EXPECT_EQ(CalcCategory("High-Precision Statistical"), "Statistical");
  EXPECT_EQ(CalcCategory("High-Precision Information"), "Information");
  EXPECT_EQ(CalcCategory("High-Precision Miscellaneous"), "Add-In");
  EXPECT_EQ(CalcCategory("something new"), "Add-In");
}

TEST(CalcRows, FlagsAreTheBooleanParameters) {
  const FunctionRow* add = FindFunction("dcmADD");
  ASSERT_NE(add, nullptr);
  std::map<std::string, bool> flag;
  for (const Param& p : add->params) flag[std::string(p.name)] = IsFlagParam(p);
  EXPECT_FALSE(flag["number1"]);
  EXPECT_FALSE(flag["format_negative"]);  // 0, 1 or 2: a number, not a flag
  EXPECT_TRUE(flag["format_thousands"]);
  EXPECT_TRUE(flag["format_currency"]);
  EXPECT_TRUE(flag["exponential_notation"]);
  EXPECT_FALSE(flag["maximum_significant_digits"]);
  EXPECT_TRUE(flag["preserve_decimal_place"]);
}

TEST(CalcValues, ErrorValuesCarryCalcsCodes) {
  // Calc reads an error from a NaN's low bits; pin the exact bit patterns.
  EXPECT_EQ(std::bit_cast<std::uint64_t>(CalcErrorValue(HostError::Value)), 0x7FF8000000000000ULL | 519);
  EXPECT_EQ(CalcErrorCodeOf(CalcErrorValue(HostError::Div0)), 532);
  EXPECT_EQ(CalcErrorCodeOf(CalcErrorValue(HostError::Num)), 503);
  EXPECT_EQ(CalcErrorCodeOf(CalcErrorValue(HostError::Name)), 525);
  EXPECT_EQ(CalcErrorCodeOf(CalcErrorValue(HostError::NA)), 32767);
  EXPECT_EQ(CalcErrorCodeOf(CalcErrorValue(HostError::Ref)), 524);
  EXPECT_EQ(CalcErrorCodeOf(CalcErrorValue(HostError::Null)), 521);
  EXPECT_EQ(CalcErrorCodeOf(1.5), 0);
}

TEST(CalcValues, ArgumentsArriveAsTheFunctionsExpect) {
  EXPECT_EQ(FromCalcNumber(1, true), Value::Bool(true));
  EXPECT_EQ(FromCalcNumber(0, true), Value::Bool(false));
  EXPECT_EQ(FromCalcNumber(0.1, false), Value::Number(0.1));
  EXPECT_EQ(FromCalcText("", true), Value::Empty());  // a blank cell of a range
  EXPECT_EQ(FromCalcText("", false), Value::Text(""));
  EXPECT_EQ(FromCalcText("0.10", false), Value::Text("0.10"));
}

// The generated interface and wrappers name every host row once, with the
// row's parameters, and nothing else: the build's files and the registry
// cannot disagree without this failing.
TEST(CalcGenerated, InterfaceAndWrappersFollowTheRegistry) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("decimora-calc-gen-" + std::to_string(::getpid()));
  ASSERT_EQ(std::system((std::string(DECIMORA_CALC_GEN) + " " + dir.string()).c_str()), 0);
  const std::string idl = Slurp(dir / "XDecimora.idl");
  const std::string inc = Slurp(dir / "addin_methods.inc");
  const std::string json = Slurp(dir / "functions.json");
  std::filesystem::remove_all(dir);

  std::map<std::string, std::pair<std::size_t, bool>> methods;  // params, last is a list
  const std::regex method(R"(    any (\w+)\(([^)]*)\);)");
  for (auto it = std::sregex_iterator(idl.begin(), idl.end(), method); it != std::sregex_iterator(); ++it) {
    const std::string params = (*it)[2];
    std::size_t n = 0;
    for (std::size_t pos = 0; (pos = params.find("[in]", pos)) != std::string::npos; pos += 4) ++n;
    const bool list = params.find("sequence<any>") != std::string::npos;
    EXPECT_TRUE(methods.emplace((*it)[1], std::make_pair(n, list)).second) << "twice: " << (*it)[1];
  }
  const auto rows = HostRows();
  EXPECT_EQ(methods.size(), rows.size());
  for (const FunctionRow* row : rows) {
    SCOPED_TRACE(std::string(row->name));
    const auto m = methods.find(std::string(row->name));
    ASSERT_NE(m, methods.end());
    EXPECT_EQ(m->second.first, row->params.size());
    EXPECT_EQ(m->second.second, row->openEnded);
    EXPECT_NE(inc.find("css::uno::Any SAL_CALL " + std::string(row->name) + "("), std::string::npos);
    EXPECT_NE(inc.find("FindFunction(\"" + std::string(row->name) + "\")"), std::string::npos);
    EXPECT_NE(json.find("{\"name\": \"" + std::string(row->name) + "\""), std::string::npos);
  }
}

// A private settings store for one test.
class PrivateStore : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::temp_directory_path() / ("decimora-calc-home-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home_);
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    ::setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
  }
  void TearDown() override {
    if (saved_) {
      ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    std::filesystem::remove_all(home_);
  }
  std::string Stored() {
    const auto r = platform::ReadSetting("Decimora", "Options", "MaxSD");
    return r.status == platform::StoreStatus::Ok ? r.value : "<none>";
  }
  std::filesystem::path home_;
  std::optional<std::string> saved_;
};

TEST_F(PrivateStore, ASavedDefaultReachesTheNextCall) {
  RefreshDefaultMaxSD();  // first use: writes 100
  EXPECT_EQ(frame::DefaultMaxSD(), 100);
  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "42"));
  RefreshDefaultMaxSD();
  EXPECT_EQ(frame::DefaultMaxSD(), 42);
  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "7"));
  RefreshDefaultMaxSD();
  EXPECT_EQ(frame::DefaultMaxSD(), 7);
}

TEST(MaxSDDialog, DigitsOnlyWithThePreviousTextRestored) {
  MaxSDDialogModel m(100);
  EXPECT_EQ(m.text(), "100");
  EXPECT_EQ(m.caret(), 3u);
  EXPECT_FALSE(m.Edit("1"));
  EXPECT_FALSE(m.Edit("12"));
  // Typing "12a" leaves "12", the caret after it.
  EXPECT_EQ(m.Edit("12a"), kRefusal);
  EXPECT_EQ(m.text(), "12");
  EXPECT_EQ(m.caret(), 2u);
  // A character pasted in the middle: the caret where it stood.
  EXPECT_EQ(m.Edit("1-2"), kRefusal);
  EXPECT_EQ(m.text(), "12");
  EXPECT_EQ(m.caret(), 1u);
  EXPECT_EQ(m.Edit("12.5"), kRefusal);
  EXPECT_EQ(m.Edit(" 12"), kRefusal);
  EXPECT_EQ(m.caret(), 0u);
  EXPECT_FALSE(m.Edit(""));  // empty counts as digits
  EXPECT_EQ(m.text(), "");
  EXPECT_EQ(m.Edit("x"), kRefusal);
  EXPECT_EQ(m.text(), "");
}

TEST_F(PrivateStore, OkStoresTheValueAndEmptyKeepsTheOld) {
  ASSERT_TRUE(platform::WriteSetting("Decimora", "Options", "MaxSD", "100"));
  frame::SetDefaultMaxSD(100);
  {
    MaxSDDialogModel m(100);
    ASSERT_FALSE(m.Edit(""));
    const auto r = m.Ok();
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(Stored(), "100");
    EXPECT_EQ(frame::DefaultMaxSD(), 100);
  }
  {
    MaxSDDialogModel m(100);
    ASSERT_FALSE(m.Edit("250"));
    const auto r = m.Ok();
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.value, 250);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(Stored(), "250");
    EXPECT_EQ(frame::DefaultMaxSD(), 250);
    EXPECT_EQ(AboutMaxSDLine(r.value), "Default Max SD:\n250");
  }
  {
    // No result holds more than 32,767 digits, however many are typed.
    MaxSDDialogModel m(250);
    ASSERT_FALSE(m.Edit("99999999999999999999999"));
    EXPECT_EQ(m.Ok().stored, "32767");
    EXPECT_EQ(Stored(), "32767");
  }
}

TEST(MaxSDDialog, TheSweepFindsDirectCallsAndNamedExpressions) {
  const std::vector<NamedExpression> names = {{"seventh", "ORG.DECIMORA.ADDIN.DCMDIVIDE(\"1\";\"7\")"},
                                              {"plain", "$Sheet1.$A$1*2"}};
  EXPECT_TRUE(CallsDecimora("=ORG.DECIMORA.ADDIN.DCMADD(\"1\";\"2\")", {}));
  EXPECT_TRUE(CallsDecimora("=dcmadd(1;2)", {}));
  EXPECT_TRUE(CallsDecimora("=SEVENTH*2", names));
  EXPECT_FALSE(CallsDecimora("=PLAIN+1", names));
  EXPECT_FALSE(CallsDecimora("=SUM(A1:A3)", names));
  EXPECT_NE(MaxSDExplanation().find("\n\nYou can customize"), std::string::npos);
  EXPECT_TRUE(RecalculateQuestion().starts_with("Recalculate Decimora formulas now?\n\nCaution:\n"));
}

}  // namespace
}  // namespace decimora::calc
