#include "loglink/wire_format.h"

#include <algorithm>

namespace vantrel::loglink {
namespace {

void PutLittle(std::string& out, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t GetLittle(std::string_view in, std::size_t offset, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(in[offset + i]);
  }
  return value;
}

bool ValidReplyAddress(std::string_view address) {
  if (address.empty()) return true;
  return address.size() <= kMaxReplyAddress && address.front() == '/' &&
         address.find('\0') == std::string_view::npos;
}

}  // namespace

std::optional<std::string> EncodeRecord(const CopyDataRecord& record) {
  std::size_t total = kHeaderSize + record.replyAddress.size() + record.bytes.size();
  if (total > kMaxMessageSize || !ValidReplyAddress(record.replyAddress)) return std::nullopt;
  std::string out(kMagic);
  PutLittle(out, kVersion, 2);
  PutLittle(out, record.replyAddress.size(), 2);
  PutLittle(out, record.identifier, 8);
  PutLittle(out, record.bytes.size(), 4);
  out += record.replyAddress;
  out += record.bytes;
  return out;
}

std::string EncodeResult(std::uint64_t result) {
  std::string out;
  PutLittle(out, result, kResultSize);
  return out;
}

std::uint64_t DecodeResult(std::string_view eightBytes) {
  return GetLittle(eightBytes, 0, kResultSize);
}

std::size_t RecordDecoder::Feed(std::string_view bytes) {
  std::size_t taken = 0;
  while (state_ == State::kNeedMore && taken < bytes.size()) {
    std::size_t chunk = std::min(Needed(), bytes.size() - taken);
    buffer_.append(bytes.substr(taken, chunk));
    taken += chunk;
    if (buffer_.size() == kHeaderSize) CheckHeader();
    if (state_ == State::kNeedMore && buffer_.size() == total_) {
      std::size_t addressSize = GetLittle(buffer_, 6, 2);
      record_.identifier = GetLittle(buffer_, 8, 8);
      record_.replyAddress = buffer_.substr(kHeaderSize, addressSize);
      record_.bytes = buffer_.substr(kHeaderSize + addressSize);
      state_ = ValidReplyAddress(record_.replyAddress) ? State::kComplete : State::kMalformed;
    }
  }
  return taken;
}

void RecordDecoder::CheckHeader() {
  std::uint64_t addressSize = GetLittle(buffer_, 6, 2);
  std::uint64_t byteCount = GetLittle(buffer_, 16, 4);
  bool good = buffer_.compare(0, kMagic.size(), kMagic) == 0 &&
              GetLittle(buffer_, 4, 2) == kVersion && addressSize <= kMaxReplyAddress &&
              kHeaderSize + addressSize + byteCount <= kMaxMessageSize;
  if (!good) {
    state_ = State::kMalformed;
    return;
  }
  total_ = kHeaderSize + addressSize + byteCount;
}

std::size_t RecordDecoder::Needed() const {
  return total_ - buffer_.size();
}

}  // namespace vantrel::loglink
