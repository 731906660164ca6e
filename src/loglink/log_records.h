#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel::loglink {

// Identifiers of the two records Vantrel sends to the logging program.
inline constexpr std::uint64_t kCopyDataSendId = 0x3000F;
inline constexpr std::uint64_t kCopyDataRequestId = 0x73;

// The logging program reads the text from a 256-byte buffer with its NUL.
inline constexpr std::size_t kCopyDataSendCapacity = 256;

// "\n%s\n\n\n%d\n\n\nCW" from the callsign and the report. A callsign too long for the
// buffer is cut, never inside a double-byte CP932 character.
std::string CopyDataSendText(std::string_view hisCall, int report);

}  // namespace vantrel::loglink
