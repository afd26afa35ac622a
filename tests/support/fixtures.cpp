#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kvx::test {

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream stream(line);
  while (std::getline(stream, field, '\t')) fields.push_back(field);
  return fields;
}

}  // namespace

int FixtureTable::Column(const std::string& name) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i] == name) return static_cast<int>(i);
  throw std::out_of_range("fixture has no column " + name);
}

double FixtureTable::Number(std::size_t row, const std::string& column) const {
  return std::stod(text.at(row).at(static_cast<std::size_t>(Column(column))));
}

FixtureTable ReadFixture(const std::string& path) {
  FixtureTable table;
  std::ifstream in(path);
  if (!in) {
    ADD_FAILURE() << "missing fixture " << path;
    return table;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (table.columns.empty())
      table.columns = SplitTabs(line);
    else
      table.text.push_back(SplitTabs(line));
  }
  return table;
}

}  // namespace kvx::test
