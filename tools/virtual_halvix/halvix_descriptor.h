#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::tools {

// The shape of the virtual interface's reports; the Halvix itself has unnumbered 8-byte ones.
struct ReportShape {
  std::uint8_t reportId = 0;  // 0: the descriptor declares no report ids
  std::size_t bytes = 8;      // data bytes per report in each direction
};

// A vendor-defined collection with one input and one output report of `shape`.
std::vector<std::uint8_t> HalvixReportDescriptor(const ReportShape& shape);

// A product string from which a host reads back `version` (digits at positions 13 and 15),
// or for 99 one without digits there.
std::string ProductNameForVersion(unsigned version);

}  // namespace vantrel::tools
