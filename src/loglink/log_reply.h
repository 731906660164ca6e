#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::loglink {

// Tokens 1 to 3 of a reply are read into 32-byte buffers; longer ones are cut.
inline constexpr std::size_t kReplyTokenLimit = 31;

// What a reply from the logging program changes; an empty field stays as it is.
struct LogReply {
  std::optional<std::string> HisCall;
  std::optional<int> Report;
};

// The record's bytes are a NUL-terminated text of white-space separated tokens: token 1 the
// callsign, token 4 the report as a signed decimal number.
LogReply ParseLogReply(std::string_view bytes);

void ApplyLogReply(const LogReply& reply, std::string& hisCall, int& report);

}  // namespace vantrel::loglink
