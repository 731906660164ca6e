#include "loglink/log_stub.h"

#include <ios>

#include "loglink/escaped_bytes.h"
#include "loglink/log_records.h"
#include "loglink/record_connection.h"

namespace vantrel::loglink {

std::unique_ptr<LogStub> LogStub::Listen(const std::string& address, LogStubOptions options,
                                         std::ostream& out) {
  std::unique_ptr<LogStub> stub(new LogStub(std::move(options), out));
  stub->server_ = RecordServer::Listen(
      address, [stub = stub.get()](const CopyDataRecord& record) { return stub->Take(record); },
      stub->options_.peerCheck);
  if (!stub->server_) return nullptr;
  return stub;
}

void LogStub::HandleReadable() {
  server_->HandleReadable();
  std::vector<std::string> held = std::move(heldReplies_);
  heldReplies_.clear();
  for (const std::string& address : held) SendReply(address);
}

std::uint64_t LogStub::Take(const CopyDataRecord& record) {
  out_ << "record 0x" << std::hex << std::uppercase << record.identifier << std::dec << ", "
       << record.bytes.size() << " bytes: \"" << EscapedBytes(record.bytes) << "\", reply to "
       << (record.replyAddress.empty() ? "(none)" : record.replyAddress) << ", result "
       << options_.result << std::endl;
  if (record.identifier != kCopyDataRequestId || record.replyAddress.empty()) {
    return options_.result;
  }
  if (options_.timing == ReplyTiming::kDuring) {
    SendReply(record.replyAddress);
  } else {
    heldReplies_.push_back(record.replyAddress);
  }
  return options_.result;
}

void LogStub::SendReply(const std::string& address) {
  std::optional<RecordConnection> requester = RecordConnection::Open(address, options_.peerCheck);
  if (!requester) {
    out_ << "reply to " << address << ": nobody there" << std::endl;
    return;
  }
  CopyDataRecord reply{kCopyDataRequestId, options_.reply + '\0', {}};
  std::uint64_t result = requester->Exchange(reply, options_.answerTimeout);
  out_ << "reply \"" << EscapedBytes(options_.reply) << "\" to " << address << ": result " << result
       << std::endl;
}

}  // namespace vantrel::loglink
