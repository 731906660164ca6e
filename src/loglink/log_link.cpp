#include "loglink/log_link.h"

#include <unistd.h>

#include <atomic>

#include "loglink/link_directory.h"
#include "loglink/log_records.h"

namespace vantrel::loglink {
namespace {

std::string NewReplyAddress(const std::string& directory) {
  static std::atomic<unsigned> made{0};
  return directory + "/vantrel-" + std::to_string(::getpid()) + "-" + std::to_string(++made);
}

}  // namespace

LogLink::LogLink(ReplyHandler onReply, LogLinkOptions options)
    : onReply_(std::move(onReply)), options_(std::move(options)) {
  std::optional<std::string> directory = LinkDirectory();
  if (!directory) return;
  replies_ = RecordServer::Listen(
      NewReplyAddress(*directory),
      [this](const CopyDataRecord& record) { return TakeReply(record); }, options_.peerCheck);
}

void LogLink::HandleReadable() {
  if (replies_) replies_->HandleReadable();
}

std::optional<std::uint64_t> LogLink::CopyDataSend(std::uint64_t identifier,
                                                   std::string_view bytes) {
  std::optional<RecordConnection> logProgram = FindLogProgram();
  if (!logProgram) return std::nullopt;
  return Exchange(*logProgram, identifier, bytes);
}

LogOutcome LogLink::SendToLog(const std::function<LogContact()>& readControls) {
  std::optional<RecordConnection> logProgram = FindLogProgram();
  if (!logProgram) return {kLogProgramNotFound};
  LogContact contact = readControls();
  std::uint64_t result =
      Exchange(*logProgram, kCopyDataSendId, CopyDataSendText(contact.HisCall, contact.Report));
  if (result == 0) return {kInvalidCommand};
  return {std::nullopt, result};
}

LogOutcome LogLink::FetchFromLog() {
  std::optional<std::uint64_t> result = CopyDataSend(kCopyDataRequestId, {});
  if (!result) return {kLogProgramNotFound};
  if (*result == 0) return {kInvalidCommand};
  return {};
}

std::optional<RecordConnection> LogLink::FindLogProgram() const {
  std::optional<std::string> address = LogProgramAddress();
  if (!address) return std::nullopt;
  return RecordConnection::Open(*address, options_.peerCheck);
}

std::uint64_t LogLink::Exchange(RecordConnection& connection, std::uint64_t identifier,
                                std::string_view bytes) {
  CopyDataRecord record{identifier, std::string(bytes), ReplyAddress()};
  Sideline sideline;
  if (replies_ && !inReply_) sideline = {replies_->Fd(), [this] { replies_->HandleReadable(); }};
  return connection.Exchange(record, options_.answerTimeout, sideline);
}

std::uint64_t LogLink::TakeReply(const CopyDataRecord& record) {
  inReply_ = true;
  onReply_(ParseLogReply(record.bytes));
  inReply_ = false;
  return 1;
}

}  // namespace vantrel::loglink
