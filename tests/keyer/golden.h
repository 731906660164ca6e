#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantrel::testing {

// Splits "a; b; c" into its parts, each trimmed of spaces; "" gives none.
inline std::vector<std::string> Split(const std::string& text, char separator = ';') {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) {
    part.erase(0, std::min(part.find_first_not_of(' '), part.size()));
    part.erase(part.find_last_not_of(' ') + 1);
    parts.push_back(part);
  }
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

// Rows of a golden file: fields split at "|" and trimmed, then C escapes (\n \r \t
// \0 \xNN \\ and "\ " for a kept space) decoded; blank lines and "#" lines skipped.
inline std::vector<std::vector<std::string>> Golden(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    auto& row = rows.emplace_back();
    for (auto raw : Split(line, '|')) {
      std::string field;
      for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
          field += raw[i];
        } else if (raw[++i] == 'x') {
          field += static_cast<char>(std::stoi(raw.substr(i + 1, 2), nullptr, 16));
          i += 2;
        } else {
          const std::string from = "nrt0", to = {'\n', '\r', '\t', '\0'};
          field += from.find(raw[i]) == std::string::npos ? raw[i] : to[from.find(raw[i])];
        }
      }
      row.push_back(field);
    }
  }
  return rows;
}

}  // namespace vantrel::testing
