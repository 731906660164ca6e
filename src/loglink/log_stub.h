#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "loglink/copy_data_record.h"
#include "loglink/peer_check.h"
#include "loglink/record_server.h"

namespace vantrel::loglink {

enum class ReplyTiming {
  kDuring,  // from within the handling of the request, before answering it
  kAfter,   // once the request has been answered
};

struct LogStubOptions {
  std::uint64_t result = 1;
  std::string reply = "Q1ABC x y 579";
  ReplyTiming timing = ReplyTiming::kDuring;
  std::chrono::milliseconds answerTimeout{2000};
  PeerCheck peerCheck = IsSameUser;
};

// A stand-in for the logging program: prints every record it takes, answers each with a fixed
// result, and answers a request for the callsign with a reply record to the requester.
class LogStub {
 public:
  // nullptr when `address` cannot be listened on.
  static std::unique_ptr<LogStub> Listen(const std::string& address, LogStubOptions options,
                                         std::ostream& out);

  int Fd() const { return server_->Fd(); }
  void HandleReadable();

 private:
  LogStub(LogStubOptions options, std::ostream& out) : options_(std::move(options)), out_(out) {}
  std::uint64_t Take(const CopyDataRecord& record);
  void SendReply(const std::string& address);

  LogStubOptions options_;
  std::ostream& out_;
  std::unique_ptr<RecordServer> server_;
  std::vector<std::string> heldReplies_;
};

}  // namespace vantrel::loglink
