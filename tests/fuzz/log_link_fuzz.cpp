#include <cstdint>
#include <string>
#include <string_view>

#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/relay_protocol.h"
#include "require.h"

namespace {

using namespace vantrel::loglink;

// A reply changes at most the callsign and the report, and what Vantrel then sends back fits
// the logging program's buffer.
void CheckReply(std::string_view bytes) {
  const LogReply reply = ParseLogReply(bytes);
  std::string hisCall = "JA1XYZ";
  int report = 599;
  ApplyLogReply(reply, hisCall, report);
  Require(hisCall.size() <= kReplyTokenLimit, "callsign longer than its buffer");
  Require(hisCall.find_first_of(std::string_view(" \t\n\v\f\r\0", 7)) == std::string::npos,
          "callsign holds a separator");
  Require(CopyDataSendText(hisCall, report).size() < kCopyDataSendCapacity,
          "record text overflows the logging program's buffer");
}

}  // namespace

// The input is what the relay writes: lines, each read on its own; the bytes of a reply line
// go through the reply rule, and a reply's bytes sent back to the relay come out unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view output(reinterpret_cast<const char*>(data), size);
  while (!output.empty()) {
    const std::size_t end = output.find('\n');
    const std::string_view line = output.substr(0, end);
    output.remove_prefix(end == std::string_view::npos ? output.size() : end + 1);
    const auto message = ParseRelayLine(line);
    if (!message || message->kind != RelayMessage::Kind::kReply) continue;
    CheckReply(message->bytes);
    std::string hex = RelaySendLine(message->bytes).substr(5);
    hex.pop_back();
    const auto again = ParseRelayLine("reply " + hex);
    Require(again && again->bytes == message->bytes, "hex does not travel both ways");
  }
  CheckReply(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
