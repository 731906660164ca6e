#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::platform {

// The sysfs file holding the report descriptor of a hidraw node such as "/dev/hidraw3";
// std::nullopt for any other path.
std::optional<std::string> HidrawReportDescriptorPath(const std::string& devicePath);

// The descriptor's bytes, empty when it cannot be read. Reads at most one byte more than a
// usable descriptor may hold, so an oversized one is still recognised as such.
std::vector<std::uint8_t> ReadHidrawReportDescriptor(const std::string& devicePath);

}  // namespace vantrel::platform
