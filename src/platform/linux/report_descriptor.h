#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vantrel::platform {

// Report byte lengths as a HID class driver reports them: the largest report of each
// direction, always counting one report-id byte, or 0 for a direction without reports.
struct ReportLengths {
  std::size_t input = 0;
  std::size_t output = 0;
  bool numbered = false;  // the descriptor declares report ids
  bool operator==(const ReportLengths&) const = default;
};

inline constexpr std::size_t kMaxReportDescriptorSize = 4096;
inline constexpr std::size_t kMaxReportLength = 4096;

// std::nullopt when the descriptor is malformed or describes reports too large to use.
std::optional<ReportLengths> ParseReportLengths(std::span<const std::uint8_t> descriptor);

}  // namespace vantrel::platform
