#include <sstream>
#include <string>

#include "fuzz_target.h"
#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/relay_protocol.h"

using namespace vantrel::loglink;

// A reply changes at most the callsign and the report, and what Vantrel then sends back fits
// the logging program's buffer.
static void CheckReply(std::string_view bytes) {
  std::string hisCall = "JA1XYZ";
  int report = 599;
  ApplyLogReply(ParseLogReply(bytes), hisCall, report);
  Require(hisCall.size() <= kReplyTokenLimit, "callsign longer than its buffer");
  Require(hisCall.find_first_of(std::string_view(" \t\n\v\f\r\0", 7)) == std::string::npos,
          "callsign holds a separator");
  Require(CopyDataSendText(hisCall, report).size() < kCopyDataSendCapacity,
          "record text overflows the logging program's buffer");
}

// The input is what the relay writes: lines, each read on its own; the bytes of a reply line
// go through the reply rule, and a reply's bytes sent back to the relay come out unchanged.
void FuzzOne(std::string_view bytes) {
  std::istringstream lines{std::string(bytes)};
  for (std::string line; std::getline(lines, line);) {
    const auto message = ParseRelayLine(line);
    if (!message || message->kind != RelayMessage::Kind::kReply) continue;
    CheckReply(message->bytes);
    const std::string sent = RelaySendLine(message->bytes);
    const auto again = ParseRelayLine("reply " + sent.substr(5, sent.size() - 6));
    Require(again && again->bytes == message->bytes, "hex does not travel both ways");
  }
  CheckReply(bytes);
}
