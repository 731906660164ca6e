#include "loglink/unix_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace vantrel::loglink {
namespace {

std::optional<sockaddr_un> AddressOf(const std::string& path) {
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof address.sun_path) return std::nullopt;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  return address;
}

UniqueFd NewSocket() {
  return UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
}

}  // namespace

int RemainingMs(Deadline deadline) {
  auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

UniqueFd ListenAt(const std::string& path) {
  std::optional<sockaddr_un> address = AddressOf(path);
  if (!address || ConnectTo(path)) return {};
  ::unlink(path.c_str());
  UniqueFd fd = NewSocket();
  if (!fd || ::bind(fd.get(), reinterpret_cast<sockaddr*>(&*address), sizeof *address) != 0) {
    return {};
  }
  if (::chmod(path.c_str(), 0600) != 0 || ::listen(fd.get(), 16) != 0) {
    ::unlink(path.c_str());
    return {};
  }
  return fd;
}

UniqueFd ConnectTo(const std::string& path) {
  std::optional<sockaddr_un> address = AddressOf(path);
  if (!address) return {};
  UniqueFd fd = NewSocket();
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&*address), sizeof *address) != 0) {
    return {};
  }
  return fd;
}

bool SendAll(int fd, std::string_view bytes, Deadline deadline) {
  while (!bytes.empty()) {
    ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    pollfd wait{fd, POLLOUT, 0};
    if (::poll(&wait, 1, RemainingMs(deadline)) == 0) return false;
  }
  return true;
}

}  // namespace vantrel::loglink
