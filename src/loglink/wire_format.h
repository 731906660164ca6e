#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "loglink/copy_data_record.h"

namespace vantrel::loglink {

// Every integer on the wire is little-endian. A message is the fixed header, the reply
// address, then the record's bytes; the receiver answers with one 8-byte result.
inline constexpr std::string_view kMagic = "CPYD";
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 20;
inline constexpr std::size_t kMaxMessageSize = 64 * 1024;
inline constexpr std::size_t kMaxReplyAddress = 107;
inline constexpr std::size_t kResultSize = 8;

// Empty when the record cannot be framed (too large, or a bad reply address).
std::optional<std::string> EncodeRecord(const CopyDataRecord& record);

std::string EncodeResult(std::uint64_t result);
std::uint64_t DecodeResult(std::string_view eightBytes);

// Collects one message from a stream that arrives in pieces.
class RecordDecoder {
 public:
  enum class State { kNeedMore, kComplete, kMalformed };

  // Takes bytes up to the end of the message and leaves the rest; returns how many it took.
  std::size_t Feed(std::string_view bytes);
  State state() const { return state_; }
  const CopyDataRecord& record() const { return record_; }

 private:
  void CheckHeader();
  std::size_t Needed() const;

  std::string buffer_;
  std::size_t total_ = kHeaderSize;
  State state_ = State::kNeedMore;
  CopyDataRecord record_;
};

}  // namespace vantrel::loglink
