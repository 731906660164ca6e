#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace vantrel::platform {

// Reads raw report bytes into dst (at most capacity); returns the count, 0 or -1 like
// HidDevice::Read.
using RawReportRead = std::function<int(std::uint8_t* dst, std::size_t capacity)>;

// Reads one input report so that buf starts with its report-id byte. Devices without
// numbered reports deliver their data without one, so it is put in front as 0.
int ReadWithReportId(bool numbered, std::uint8_t* buf, std::size_t capacity,
                     const RawReportRead& read);

}  // namespace vantrel::platform
