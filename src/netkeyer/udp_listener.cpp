#include "netkeyer/udp_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "netkeyer/request.h"
#include "platform/diag.h"

namespace vantrel::netkeyer {
namespace {

constexpr char kLoopback4[] = "127.0.0.1";
constexpr char kLoopback6[] = "::1";

bool ToAddress(const std::string& text, unsigned port, PeerAddress& address) {
  auto* v4 = reinterpret_cast<sockaddr_in*>(&address.storage);
  if (inet_pton(AF_INET, text.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(static_cast<std::uint16_t>(port));
    address.length = sizeof(sockaddr_in);
    return true;
  }
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.storage);
  if (inet_pton(AF_INET6, text.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(static_cast<std::uint16_t>(port));
    address.length = sizeof(sockaddr_in6);
    return true;
  }
  return false;
}

// errno is kept for the caller when the socket cannot be bound.
loglink::UniqueFd BindAt(const PeerAddress& address) {
  const int family = address.storage.ss_family;
  loglink::UniqueFd fd(::socket(family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd) return fd;
  if (family == AF_INET6) {
    const int only = 1;
    ::setsockopt(fd.get(), IPPROTO_IPV6, IPV6_V6ONLY, &only, sizeof only);
  }
  if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address.storage), address.length) != 0) {
    const int saved = errno;
    fd.Reset();
    errno = saved;
  }
  return fd;
}

std::string BindError(const std::string& address, unsigned port, int error) {
  const std::string where = address + " のポート " + std::to_string(port);
  if (error == EADDRINUSE) return where + " は他のプログラムが使用中です。";
  return where + " を開けません: " + std::strerror(error);
}

}  // namespace

UdpListener UdpListener::Open(const std::string& address, unsigned port, std::string& error) {
  UdpListener listener;
  std::vector<std::string> addresses{address};
  if (address == kLoopback4) addresses.push_back(kLoopback6);
  for (const std::string& text : addresses) {
    PeerAddress bound;
    if (port == 0 || port > 65535 || !ToAddress(text, port, bound)) {
      error = "ネットワークキーヤーのアドレス " + text + " またはポート " + std::to_string(port) +
              " が不正です。";
      return {};
    }
    loglink::UniqueFd fd = BindAt(bound);
    if (fd) {
      listener.sockets_.push_back({std::move(fd), bound.storage.ss_family});
    } else if (text != kLoopback6) {
      error = BindError(text, port, errno);
      return {};
    } else {
      platform::Trace("Network keyer: no IPv6 loopback: " + std::string(std::strerror(errno)));
    }
  }
  return listener;
}

std::vector<int> UdpListener::Fds() const {
  std::vector<int> fds;
  for (const Socket& socket : sockets_) fds.push_back(socket.fd.get());
  return fds;
}

void UdpListener::ReadWaiting(int fd, const DatagramHandler& handler, int limit) const {
  std::array<char, kMaxDatagram + 1> buffer;
  for (int i = 0; i < limit; ++i) {
    PeerAddress from;
    from.length = sizeof from.storage;
    const ssize_t size = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_TRUNC,
                                    reinterpret_cast<sockaddr*>(&from.storage), &from.length);
    if (size < 0) return;
    if (static_cast<std::size_t>(size) > kMaxDatagram) {
      platform::Trace("Network keyer: datagram of " + std::to_string(size) + " bytes dropped");
      continue;
    }
    handler(std::string_view(buffer.data(), static_cast<std::size_t>(size)), from);
  }
}

void UdpListener::Send(const PeerAddress& to, std::string_view bytes) const {
  for (const Socket& socket : sockets_) {
    if (socket.family != to.storage.ss_family) continue;
    if (::sendto(socket.fd.get(), bytes.data(), bytes.size(), MSG_DONTWAIT,
                 reinterpret_cast<const sockaddr*>(&to.storage), to.length) < 0) {
      platform::Trace("Network keyer: reply not sent: " + std::string(std::strerror(errno)));
    }
    return;
  }
}

}  // namespace vantrel::netkeyer
