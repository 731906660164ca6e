#pragma once

#include <algorithm>
#include <sstream>
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

}  // namespace vantrel::testing
