#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "loglink/copy_data_record.h"
#include "loglink/peer_check.h"
#include "loglink/unique_fd.h"

namespace vantrel::loglink {

// Something else to serve while waiting for an answer, as a window keeps handling the
// messages sent to it while its own send is in progress.
struct Sideline {
  int fd = -1;
  std::function<void()> serve;
};

// A connection to a record server, good for one record: the counterpart of a window found by
// its class.
class RecordConnection {
 public:
  // Empty when nobody listens at `address` or the listener is a user `peerCheck` refuses.
  static std::optional<RecordConnection> Open(const std::string& address,
                                              const PeerCheck& peerCheck = IsSameUser);

  // Sends the record and returns the receiver's result, or 0 when the record cannot be framed,
  // the receiver closes without answering or `timeout` passes first.
  std::uint64_t Exchange(const CopyDataRecord& record, std::chrono::milliseconds timeout,
                         const Sideline& sideline = {});

 private:
  explicit RecordConnection(UniqueFd fd) : fd_(std::move(fd)) {}
  std::optional<std::uint64_t> AwaitResult(std::chrono::steady_clock::time_point deadline,
                                           const Sideline& sideline);

  UniqueFd fd_;
};

}  // namespace vantrel::loglink
