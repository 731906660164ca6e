#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace vantrel::bench {

struct Summary {
  std::size_t count = 0;
  double p50 = 0, p99 = 0, max = 0;
};

// Nearest-rank percentile, so p99 of 100 values is the 99th smallest.
inline double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

inline Summary Summarise(const std::vector<double>& values) {
  Summary s;
  s.count = values.size();
  if (values.empty()) return s;
  s.p50 = Percentile(values, 0.50);
  s.p99 = Percentile(values, 0.99);
  s.max = *std::max_element(values.begin(), values.end());
  return s;
}

inline std::string Figure(double value, const char* unit, int decimals = 0) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f %s", decimals, value, unit);
  return text;
}

// Every benchmark prints rows of the same four columns, so that their outputs join into one
// table.
inline void PrintHeader() {
  std::printf("%-24s %-44s %14s  %s\n", "benchmark", "figure", "value", "target");
}

inline void PrintRow(const std::string& benchmark, const std::string& figure,
                     const std::string& value, const std::string& target = "") {
  std::printf("%-24s %-44s %14s  %s\n", benchmark.c_str(), figure.c_str(), value.c_str(),
              target.c_str());
  std::fflush(stdout);
}

}  // namespace vantrel::bench
