#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::loglink {

// The lines Vantrel and the Turbo HAMLOG relay exchange over the relay's standard input and
// output; bytes travel as lower-case hex.
//   to the relay:   "find" (is Turbo HAMLOG there), "send <hex>" (the F11 record's text),
//                   "request" (the F12 record)
//   from the relay: "ready", "result <n>", "notfound", "reply <hex>" (a reply's bytes)
inline constexpr std::string_view kRelayFindLine = "find\n";
inline constexpr std::string_view kRelayRequestLine = "request\n";

std::string RelaySendLine(std::string_view bytes);

struct RelayMessage {
  enum class Kind { kReady, kResult, kNotFound, kReply };
  Kind kind = Kind::kReady;
  std::uint64_t result = 0;
  std::string bytes;
};

// One line without its line end (a trailing carriage return is allowed); empty when the line
// is none of the four.
std::optional<RelayMessage> ParseRelayLine(std::string_view line);

}  // namespace vantrel::loglink
