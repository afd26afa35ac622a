// Reading the tab-separated reference fixtures of the tests.
#pragma once

#include <string>
#include <vector>

namespace kvx::test {

// One fixture file: the header's column names and the rows as doubles
// (or as text, for columns that are not numbers). Lines starting with '#'
// are comments.
struct FixtureTable {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> text;

  int Column(const std::string& name) const;
  double Number(std::size_t row, const std::string& column) const;
  std::size_t Rows() const { return text.size(); }
};

// Reads a fixture; fails the calling test (ADD_FAILURE) and returns an empty
// table when the file is missing.
FixtureTable ReadFixture(const std::string& path);

}  // namespace kvx::test
