#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace vantrel {

// Rows of tab-separated fields, one a line, '#' lines left out. "\xHH" stands for that byte and
// "\\" for a backslash, so any byte string fits on one line.
inline std::vector<std::vector<std::string>> ReadTable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    rows.emplace_back(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\t') {
        rows.back().emplace_back();
      } else if (line.compare(i, 2, "\\x") == 0) {
        rows.back().back() += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
        i += 3;
      } else {
        rows.back().back() += line[i] == '\\' ? line[++i] : line[i];
      }
    }
  }
  return rows;
}

}  // namespace vantrel
