#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>

namespace vantrel::loglink {

// Decides whether the user at the other end of a connection may use it.
using PeerCheck = std::function<bool(uid_t)>;

bool IsSameUser(uid_t peer);

// The effective user id of the process at the other end of a connected Unix socket.
std::optional<uid_t> PeerUid(int fd);

bool PeerAllowed(int fd, const PeerCheck& check);

}  // namespace vantrel::loglink
