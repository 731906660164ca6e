#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "loglink/unique_fd.h"

namespace vantrel::loglink {

struct LoopbackServerLimits {
  // Connections beyond these wait in the kernel's queue until one closes.
  std::size_t maxConnections = 8;
  // A connection that has not sent its request and taken the reply by then is closed.
  std::chrono::milliseconds connectionTimeout{2000};
};

// A TCP server on 127.0.0.1 and ::1 that answers one request per connection and then closes
// it, served from its own thread. Nothing reaches it from other machines.
class LoopbackServer {
 public:
  // Given everything a connection has sent so far: nullopt while more is needed, otherwise
  // the reply. Runs on the server's thread.
  using Answer = std::function<std::optional<std::string>(std::string_view received)>;

  // Empty, with the reason in `error`, when the port cannot be had on 127.0.0.1 (or is taken
  // on ::1). Port 0 takes a free one.
  static std::unique_ptr<LoopbackServer> Listen(int port, Answer answer, std::string& error,
                                                LoopbackServerLimits limits = {});
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int Port() const { return port_; }

 private:
  struct Connection;

  LoopbackServer(int port, UniqueFd ipv4, UniqueFd ipv6, UniqueFd stop, Answer answer,
                 LoopbackServerLimits limits);
  void Serve();

  int port_;
  UniqueFd ipv4_;
  UniqueFd ipv6_;
  UniqueFd stop_;
  Answer answer_;
  LoopbackServerLimits limits_;
  std::thread thread_;
};

}  // namespace vantrel::loglink
