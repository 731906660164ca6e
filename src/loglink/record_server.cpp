#include "loglink/record_server.h"

#include <fcntl.h>
#include <sys/epoll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "loglink/unix_socket.h"

namespace vantrel::loglink {
namespace {

// A same-user program that opens connections and never finishes them must not pile up
// descriptors; the oldest unfinished one gives way.
constexpr std::size_t kMaxConnections = 16;

bool Watch(int poller, int fd) {
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.fd = fd;
  return ::epoll_ctl(poller, EPOLL_CTL_ADD, fd, &event) == 0;
}

}  // namespace

std::unique_ptr<RecordServer> RecordServer::Listen(const std::string& address, Handler handler,
                                                   PeerCheck peerCheck) {
  UniqueFd listener = ListenAt(address);
  if (!listener) return nullptr;
  UniqueFd poller(::epoll_create1(EPOLL_CLOEXEC));
  bool nonBlocking = ::fcntl(listener.get(), F_SETFL, O_NONBLOCK) == 0;
  if (!poller || !nonBlocking || !Watch(poller.get(), listener.get())) {
    ::unlink(address.c_str());
    return nullptr;
  }
  return std::unique_ptr<RecordServer>(new RecordServer(
      address, std::move(listener), std::move(poller), std::move(handler), std::move(peerCheck)));
}

RecordServer::RecordServer(std::string address, UniqueFd listener, UniqueFd poller, Handler handler,
                           PeerCheck peerCheck)
    : address_(std::move(address)),
      listener_(std::move(listener)),
      poller_(std::move(poller)),
      handler_(std::move(handler)),
      peerCheck_(std::move(peerCheck)) {}

RecordServer::~RecordServer() {
  ::unlink(address_.c_str());
}

void RecordServer::HandleReadable() {
  if (serving_) return;
  serving_ = true;
  std::array<epoll_event, 16> events;
  int count = ::epoll_wait(poller_.get(), events.data(), events.size(), 0);
  for (int i = 0; i < count; ++i) {
    int fd = events[i].data.fd;
    if (fd == listener_.get()) {
      AcceptWaiting();
    } else if (connections_.count(fd) != 0) {
      ReadFrom(fd);
    }
  }
  serving_ = false;
}

void RecordServer::AcceptWaiting() {
  for (;;) {
    UniqueFd fd(::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;
    }
    if (PeerAllowed(fd.get(), peerCheck_)) Admit(std::move(fd));
  }
}

void RecordServer::Admit(UniqueFd fd) {
  if (connections_.size() >= kMaxConnections) {
    auto oldest = std::min_element(connections_.begin(), connections_.end(),
                                   [](auto& a, auto& b) { return a.second.age < b.second.age; });
    Drop(oldest->first);
  }
  int key = fd.get();
  if (!Watch(poller_.get(), key)) return;
  connections_[key] = Connection{std::move(fd), RecordDecoder{}, ++admitted_};
}

void RecordServer::ReadFrom(int fd) {
  std::array<char, 4096> chunk;
  for (;;) {
    ssize_t got = ::recv(fd, chunk.data(), chunk.size(), MSG_DONTWAIT);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (got <= 0) return Drop(fd);
    RecordDecoder& decoder = connections_[fd].decoder;
    decoder.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
    if (decoder.state() == RecordDecoder::State::kMalformed) return Drop(fd);
    if (decoder.state() == RecordDecoder::State::kComplete) return Finish(fd);
  }
}

void RecordServer::Finish(int fd) {
  Connection connection = std::move(connections_[fd]);
  Drop(fd);
  std::uint64_t result = handler_(connection.decoder.record());
  SendAll(connection.fd.get(), EncodeResult(result), std::chrono::steady_clock::now());
}

void RecordServer::Drop(int fd) {
  ::epoll_ctl(poller_.get(), EPOLL_CTL_DEL, fd, nullptr);
  connections_.erase(fd);
}

}  // namespace vantrel::loglink
