#include <cstdint>
#include <string>
#include <string_view>

#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/wire_format.h"
#include "require.h"

namespace {

using namespace vantrel::loglink;

// The first byte sets the size of the pieces the stream arrives in; the rest is the stream,
// read as one message after another, as a connection delivers them.
constexpr std::size_t kPieceSizes = 64;

// A reply changes at most the callsign and the report, and what Vantrel then sends back fits
// the logging program's buffer.
void CheckReply(const CopyDataRecord& record) {
  const LogReply reply = ParseLogReply(record.bytes);
  std::string hisCall = "JA1XYZ";
  int report = 599;
  ApplyLogReply(reply, hisCall, report);
  Require(hisCall.size() <= kReplyTokenLimit, "callsign longer than its buffer");
  Require(hisCall.find_first_of(std::string_view(" \t\n\v\f\r\0", 7)) == std::string::npos,
          "callsign holds a separator");
  Require(CopyDataSendText(hisCall, report).size() < kCopyDataSendCapacity,
          "record text overflows the logging program's buffer");
}

// Feeds one message in pieces; returns the bytes it took, or 0 when the stream ends first
// or the message is malformed.
std::size_t DecodeOne(std::string_view stream, std::size_t piece) {
  RecordDecoder decoder;
  std::size_t taken = 0;
  while (decoder.state() == RecordDecoder::State::kNeedMore && taken < stream.size()) {
    const std::size_t took = decoder.Feed(stream.substr(taken, piece));
    Require(took != 0 && took <= piece, "decoder took a wrong count");
    taken += took;
  }
  if (decoder.state() != RecordDecoder::State::kComplete) return 0;
  const auto again = EncodeRecord(decoder.record());
  Require(again && *again == stream.substr(0, taken), "record does not encode to its bytes");
  CheckReply(decoder.record());
  return taken;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = 1 + data[0] % kPieceSizes;
  std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);
  while (const std::size_t taken = DecodeOne(stream, piece)) stream.remove_prefix(taken);
  ParseLogReply(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
