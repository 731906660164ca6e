#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "netkeyer/keying_target.h"
#include "netkeyer/peer_address.h"
#include "netkeyer/request.h"

namespace vantrel::netkeyer {

// Network text queued and not yet keyed beyond this is dropped, so a flood cannot grow the
// window's queue without end.
inline constexpr std::size_t kQueuedTextLimit = 4096;

// The cwdaemon protocol on the window's side: each datagram acts on the target, and the
// replies a client asked for go back to it once its text has been keyed.
class NetKeyerSession {
 public:
  using SendReply = std::function<void(const PeerAddress& to, std::string_view bytes)>;

  NetKeyerSession(KeyingTarget& target, SendReply sendReply);

  void OnDatagram(std::string_view bytes, const PeerAddress& from);
  // After the keyer has moved on: sends the replies whose text has now been keyed.
  void OnKeyerProgress();
  // A client's text is queued or being keyed.
  bool ClientKeying() const { return keying_; }

 private:
  struct PendingReply {
    PeerAddress to;
    std::string text;
  };

  void Act(const Request& request, const PeerAddress& from);
  void QueueText(const Request& request, const PeerAddress& from);
  void Abort();

  KeyingTarget& target_;
  SendReply sendReply_;
  std::optional<std::string> nextReply_;
  std::vector<PendingReply> dueReplies_;
  std::size_t queuedBytes_ = 0;
  bool keying_ = false;
};

}  // namespace vantrel::netkeyer
