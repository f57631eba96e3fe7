// README.md's function table must list every row of the registration table,
// in order, and say truthfully which ones answer today.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "api/registry.h"

namespace {

struct ReadmeRow {
  std::string name;
  std::string status;
};

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  const auto e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Rows of the form "| `dcmADD(...)` | category | yes | description |" between
// the table markers.
std::vector<ReadmeRow> ReadTable() {
  std::ifstream in(DECIMORA_README);
  std::vector<ReadmeRow> rows;
  std::string line;
  bool inTable = false;
  while (std::getline(in, line)) {
    if (line.find("<!-- functions:begin -->") != std::string::npos) inTable = true;
    if (line.find("<!-- functions:end -->") != std::string::npos) inTable = false;
    if (!inTable || line.rfind("| `", 0) != 0) continue;
    std::vector<std::string> cells;
    std::stringstream ss(line.substr(1));
    std::string cell;
    while (std::getline(ss, cell, '|')) cells.push_back(Trim(cell));
    if (cells.size() < 3) continue;
    const std::string& sig = cells[0];
    const auto open = sig.find_first_of("(`", 1);
    rows.push_back({sig.substr(1, open - 1), cells[2]});
  }
  return rows;
}

TEST(Readme, FunctionTableMatchesTheRegistry) {
  const std::vector<ReadmeRow> rows = ReadTable();
  const auto& table = decimora::FunctionTable();
  ASSERT_EQ(rows.size(), table.size()) << "README.md lists " << rows.size() << " functions, the registry "
                                       << table.size();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].name, table[i].name) << "row " << i + 1;
    EXPECT_EQ(rows[i].status, table[i].entry != nullptr ? "yes" : "not yet") << table[i].name;
  }
}

}  // namespace
