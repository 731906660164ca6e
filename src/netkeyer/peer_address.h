#pragma once

#include <sys/socket.h>

#include <cstring>

namespace vantrel::netkeyer {

// Where a datagram came from, and so where its replies go.
struct PeerAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;

  bool operator==(const PeerAddress& other) const {
    return length == other.length && std::memcmp(&storage, &other.storage, length) == 0;
  }
};

}  // namespace vantrel::netkeyer
