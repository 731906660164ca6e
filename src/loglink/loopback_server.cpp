#include "loglink/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vantrel::loglink {
namespace {

constexpr int kBacklog = 16;
constexpr std::size_t kReadChunk = 4096;

using Clock = std::chrono::steady_clock;

UniqueFd ListenOn(int family, int port, int& error) {
  UniqueFd fd(::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd) {
    error = errno;
    return fd;
  }
  int one = 1;
  ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_storage address{};
  socklen_t length = 0;
  if (family == AF_INET) {
    auto* ipv4 = reinterpret_cast<sockaddr_in*>(&address);
    ipv4->sin_family = AF_INET;
    ipv4->sin_port = htons(static_cast<std::uint16_t>(port));
    ipv4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    length = sizeof(sockaddr_in);
  } else {
    ::setsockopt(fd.get(), IPPROTO_IPV6, IPV6_V6ONLY, &one, sizeof one);
    auto* ipv6 = reinterpret_cast<sockaddr_in6*>(&address);
    ipv6->sin6_family = AF_INET6;
    ipv6->sin6_port = htons(static_cast<std::uint16_t>(port));
    ipv6->sin6_addr = in6addr_loopback;
    length = sizeof(sockaddr_in6);
  }
  if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(fd.get(), kBacklog) != 0) {
    error = errno;
    fd.Reset();
  }
  return fd;
}

int BoundPort(int fd) {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

}  // namespace

struct LoopbackServer::Connection {
  UniqueFd fd;
  Clock::time_point deadline;
  std::string received;
  std::string reply;
  std::size_t sent = 0;
  bool answered = false;

  // Reads what has arrived, then sends what it can of the reply; false once the connection
  // is done with, answered or not.
  bool Progress(const Answer& answer) {
    if (!answered) {
      std::array<char, kReadChunk> chunk;
      ssize_t got = ::recv(fd.get(), chunk.data(), chunk.size(), MSG_DONTWAIT);
      if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
      if (got == 0) return false;
      received.append(chunk.data(), static_cast<std::size_t>(got));
      std::optional<std::string> answerText = answer(received);
      if (!answerText) return true;
      reply = std::move(*answerText);
      answered = true;
    }
    ssize_t put =
        ::send(fd.get(), reply.data() + sent, reply.size() - sent, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (put < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    sent += static_cast<std::size_t>(put);
    return sent < reply.size();
  }
};

std::unique_ptr<LoopbackServer> LoopbackServer::Listen(int port, Answer answer, std::string& error,
                                                       LoopbackServerLimits limits) {
  int ipv4Error = 0;
  UniqueFd ipv4 = ListenOn(AF_INET, port, ipv4Error);
  if (!ipv4) {
    error = std::strerror(ipv4Error);
    return nullptr;
  }
  const int bound = BoundPort(ipv4.get());
  // A machine without IPv6 is served on 127.0.0.1 alone; a taken ::1 port is a taken port.
  int ipv6Error = 0;
  UniqueFd ipv6 = ListenOn(AF_INET6, bound, ipv6Error);
  if (!ipv6 && ipv6Error == EADDRINUSE) {
    error = std::strerror(ipv6Error);
    return nullptr;
  }
  UniqueFd stop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
  if (!stop) {
    error = std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<LoopbackServer>(new LoopbackServer(
      bound, std::move(ipv4), std::move(ipv6), std::move(stop), std::move(answer), limits));
}

LoopbackServer::LoopbackServer(int port, UniqueFd ipv4, UniqueFd ipv6, UniqueFd stop, Answer answer,
                               LoopbackServerLimits limits)
    : port_(port),
      ipv4_(std::move(ipv4)),
      ipv6_(std::move(ipv6)),
      stop_(std::move(stop)),
      answer_(std::move(answer)),
      limits_(limits),
      thread_([this] { Serve(); }) {}

LoopbackServer::~LoopbackServer() {
  const std::uint64_t one = 1;
  while (::write(stop_.get(), &one, sizeof one) < 0 && errno == EINTR) {
  }
  thread_.join();
}

void LoopbackServer::Serve() {
  std::vector<Connection> connections;
  const std::array<int, 2> listeners{ipv4_.get(), ipv6_.get()};
  for (;;) {
    const bool accepting = connections.size() < limits_.maxConnections;
    std::vector<pollfd> watched{{stop_.get(), POLLIN, 0}};
    for (int listener : listeners) {
      watched.push_back({listener, static_cast<short>(accepting ? POLLIN : 0), 0});
    }
    int timeout = -1;
    const Clock::time_point now = Clock::now();
    for (const Connection& c : connections) {
      watched.push_back({c.fd.get(), static_cast<short>(c.answered ? POLLOUT : POLLIN), 0});
      auto left = std::chrono::ceil<std::chrono::milliseconds>(c.deadline - now).count();
      left = std::max<decltype(left)>(left, 0);
      timeout = timeout < 0 ? static_cast<int>(left) : std::min(timeout, static_cast<int>(left));
    }
    if (::poll(watched.data(), watched.size(), timeout) < 0 && errno != EINTR) return;
    if (watched[0].revents != 0) return;

    const Clock::time_point after = Clock::now();
    std::vector<Connection> kept;
    for (std::size_t i = 0; i < connections.size(); ++i) {
      Connection& c = connections[i];
      bool keep = after < c.deadline;
      if (keep && watched[1 + listeners.size() + i].revents != 0) {
        keep = c.Progress(answer_);
      }
      if (keep) kept.push_back(std::move(c));
    }
    connections = std::move(kept);

    for (std::size_t i = 0; i < listeners.size(); ++i) {
      while (watched[1 + i].revents != 0 && connections.size() < limits_.maxConnections) {
        UniqueFd fd(::accept4(listeners[i], nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd) break;
        Connection& c = connections.emplace_back();
        c.fd = std::move(fd);
        c.deadline = after + limits_.connectionTimeout;
      }
    }
  }
}

}  // namespace vantrel::loglink
