#include "loglink/peer_check.h"

#include <sys/socket.h>
#include <unistd.h>

namespace vantrel::loglink {

bool IsSameUser(uid_t peer) {
  return peer == ::geteuid();
}

std::optional<uid_t> PeerUid(int fd) {
  struct ucred credentials {};
  socklen_t size = sizeof credentials;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return std::nullopt;
  return credentials.uid;
}

bool PeerAllowed(int fd, const PeerCheck& check) {
  std::optional<uid_t> uid = PeerUid(fd);
  return uid && check(*uid);
}

}  // namespace vantrel::loglink
