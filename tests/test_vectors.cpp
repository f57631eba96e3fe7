// Runs every tests/vectors/*.tsv file through the evaluator and the JSON
// rendering of the command line, one test per file.
//
// File format, one case per line:   formula<TAB>expected
//   expected  the --json rendering of the result, or "syntax error" (optionally
//             "syntax error at column N") for a formula that must not parse
//   # ...     comment;  blank lines are skipped (write =#N/A for an error
//             literal at the start of a formula)
//   @locale decimal=, thousands=. currency=" €" position=after
//             separators and currency for the following lines of the file;
//             keys left out take the C locale's defaults; "@locale default"
//             goes back to them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli/formula.h"
#include "cli/output.h"
#include "platform/locale.h"

#ifndef DECIMORA_VECTORS_DIR
#error "DECIMORA_VECTORS_DIR must name the folder of the .tsv files"
#endif

namespace fs = std::filesystem;
using decimora::cls_Decimora;
using decimora::platform::CurrencyPlacement;
using decimora::platform::LocaleOverrides;

namespace {

fs::path g_config_home;  // XDG_CONFIG_HOME of this run: the settings store starts empty

std::vector<std::string> VectorFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(DECIMORA_VECTORS_DIR, ec)) {
    if (entry.path().extension() == ".tsv") files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// Long numbers make unreadable reports: keep the head and say how long it was.
std::string Shorten(const std::string& s) {
  constexpr std::size_t kMax = 160;
  if (s.size() <= kMax) return s;
  return s.substr(0, kMax) + "... (" + std::to_string(s.size()) + " characters)";
}

std::string Trim(std::string s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.back())) s.pop_back();
  std::size_t b = 0;
  while (b < s.size() && blank(s[b])) ++b;
  return s.substr(b);
}

// key=value pairs; a value may be quoted ("" inside is one quote).
std::optional<LocaleOverrides> ParseLocale(const std::string& locale_line, std::string* error) {
  LocaleOverrides o;
  std::size_t i = 0;
  const auto skip = [&] {
    while (i < locale_line.size() && (locale_line[i] == ' ' || locale_line[i] == '\t')) ++i;
  };
  skip();
  if (locale_line.substr(i) == "default") return o;
  while (skip(), i < locale_line.size()) {
    const std::size_t eq = locale_line.find('=', i);
    if (eq == std::string::npos) {
      *error = "expected key=value at '" + locale_line.substr(i) + "'";
      return std::nullopt;
    }
    const std::string key = locale_line.substr(i, eq - i);
    i = eq + 1;
    std::string value;
    if (i < locale_line.size() && locale_line[i] == '"') {
      for (++i;; ++i) {
        if (i >= locale_line.size()) {
          *error = "unclosed quote in the value of " + key;
          return std::nullopt;
        }
        if (locale_line[i] == '"') {
          if (i + 1 < locale_line.size() && locale_line[i + 1] == '"') {
            value.push_back('"');
            ++i;
            continue;
          }
          ++i;
          break;
        }
        value.push_back(locale_line[i]);
      }
    } else {
      while (i < locale_line.size() && locale_line[i] != ' ' && locale_line[i] != '\t') value.push_back(locale_line[i++]);
    }
    if (key == "decimal" && value.size() == 1) {
      o.decimalSeparator = value[0];
    } else if (key == "thousands" && !value.empty()) {
      o.thousandsSeparator = value;
    } else if (key == "currency") {
      o.currencySymbol = value;
    } else if (key == "position" && (value == "before" || value == "after")) {
      o.currencyPlacement = value == "before" ? CurrencyPlacement::Before : CurrencyPlacement::After;
    } else {
      *error = "bad setting " + key + "=" + value;
      return std::nullopt;
    }
  }
  return o;
}

class Vectors : public testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    // Every file starts from the defaults: C locale, no overrides, an empty
    // settings store (so the default maximum is 100).
    decimora::platform::SetLocaleOverrides({});
    fs::remove_all(g_config_home / "decimora");
  }
  void TearDown() override { decimora::platform::SetLocaleOverrides({}); }
};

TEST_P(Vectors, File) {
  const std::string path = GetParam();
  std::ifstream in(path);
  ASSERT_TRUE(in) << "cannot open " << path;
  cls_Decimora dcm;

  std::string line;
  int number = 0;
  int cases = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Trim(line).empty() || line[0] == '#') continue;
    if (line[0] == '@') {
      std::string error;
      if (line.rfind("@locale", 0) != 0) {
        ADD_FAILURE_AT(path.c_str(), number) << "unknown directive: " << line;
      } else if (const auto o = ParseLocale(line.substr(7), &error)) {
        decimora::platform::SetLocaleOverrides(*o);
      } else {
        ADD_FAILURE_AT(path.c_str(), number) << "bad @locale line: " << error;
      }
      continue;
    }
    const std::size_t tab = line.rfind('\t');
    if (tab == std::string::npos) {
      ADD_FAILURE_AT(path.c_str(), number) << "no TAB between formula and expected result: " << Shorten(line);
      continue;
    }
    const std::string formula = Trim(line.substr(0, tab));
    const std::string expected = Trim(line.substr(tab + 1));
    ++cases;

    std::string got;
    bool syntax_error = false;
    std::size_t column = 0;
    try {
      got = decimora::cli::RenderJson(decimora::cli::EvaluateFormula(dcm, formula));
    } catch (const decimora::cli::FormulaError& e) {
      syntax_error = true;
      column = e.column;
      got = "syntax error at column " + std::to_string(e.column) + ": " + e.message;
    }

    bool ok = false;
    if (expected == "syntax error") {
      ok = syntax_error;
    } else if (expected.rfind("syntax error at column ", 0) == 0) {
      ok = syntax_error && expected.substr(23) == std::to_string(column);
    } else {
      ok = !syntax_error && got == expected;
    }
    if (ok) continue;

    std::string where;
    if (!syntax_error && got.size() > 160 && expected.size() > 160) {
      const auto diff = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
      where = "\n  first difference at character " + std::to_string(diff.first - got.begin() + 1);
    }
    ADD_FAILURE_AT(path.c_str(), number) << "formula:  " << Shorten(formula) << "\n  expected: " << Shorten(expected)
                                         << "\n  got:      " << Shorten(got) << where;
  }
  RecordProperty("cases", cases);
}

INSTANTIATE_TEST_SUITE_P(, Vectors, testing::ValuesIn(VectorFiles()), TestName);

}  // namespace

int main(int argc, char** argv) {
  // A settings store of this run's own, never a shared fixed path.
  std::string dir = (fs::temp_directory_path() / "decimora-vectors-XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr) {
    perror("mkdtemp");
    return 1;
  }
  g_config_home = dir;
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  std::setlocale(LC_ALL, "C");
  testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  std::error_code ec;
  fs::remove_all(g_config_home, ec);
  return rc;
}
