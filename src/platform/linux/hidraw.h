#pragma once

// What the hidapi backend needs of hidraw beside hidapi: the report descriptor from sysfs,
// reports framed with their report-id byte, and device strings as UTF-16.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// The sysfs file holding the report descriptor of a hidraw node such as "/dev/hidraw3";
// std::nullopt for any other path.
std::optional<std::string> HidrawReportDescriptorPath(const std::string& devicePath);

// The descriptor's bytes, empty when it cannot be read. Reads at most one byte more than a
// usable descriptor may hold, so an oversized one is still recognised as such.
std::vector<std::uint8_t> ReadHidrawReportDescriptor(const std::string& devicePath);

// Reads raw report bytes into dst (at most capacity); returns the count, 0 or -1 like
// HidDevice::Read.
using RawReportRead = std::function<int(std::uint8_t* dst, std::size_t capacity)>;

// Reads one input report so that buf starts with its report-id byte. Devices without
// numbered reports deliver their data without one, so it is put in front as 0.
int ReadWithReportId(bool numbered, std::uint8_t* buf, std::size_t capacity,
                     const RawReportRead& read);

// Converts UTF-32 wide text (wchar_t on Linux) to UTF-16 units; code points that UTF-16
// cannot carry become U+FFFD.
std::u16string WideToUtf16(std::wstring_view wide);

}  // namespace vantrel::platform
