#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "loglink/unique_fd.h"
#include "netkeyer/peer_address.h"

namespace vantrel::netkeyer {

using DatagramHandler = std::function<void(std::string_view bytes, const PeerAddress& from)>;

// The network keyer's UDP sockets. The loopback address 127.0.0.1 brings ::1 along, since a
// client resolves "localhost" either way; any other address is bound alone.
class UdpListener {
 public:
  // Empty when nothing could be bound; `error` then says why, for the operator.
  static UdpListener Open(const std::string& address, unsigned port, std::string& error);

  bool IsOpen() const { return !sockets_.empty(); }
  std::vector<int> Fds() const;
  // Hands on at most `limit` datagrams waiting on `fd`, never blocking; a datagram longer
  // than the protocol allows is dropped here.
  void ReadWaiting(int fd, const DatagramHandler& handler, int limit) const;
  void Send(const PeerAddress& to, std::string_view bytes) const;

 private:
  struct Socket {
    loglink::UniqueFd fd;
    int family;
  };
  std::vector<Socket> sockets_;
};

}  // namespace vantrel::netkeyer
