#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "loglink/copy_data_record.h"
#include "loglink/peer_check.h"
#include "loglink/unique_fd.h"
#include "loglink/wire_format.h"

namespace vantrel::loglink {

// The receiving end of the link: a socket that takes data-copy records and answers each with
// the handler's result. It never blocks, so it can be served from a window's event loop: watch
// Fd() for reading and call HandleReadable() whenever it is readable.
class RecordServer {
 public:
  using Handler = std::function<std::uint64_t(const CopyDataRecord&)>;

  // nullptr when the socket cannot be made, or another program already listens at `address`.
  static std::unique_ptr<RecordServer> Listen(const std::string& address, Handler handler,
                                              PeerCheck peerCheck = IsSameUser);
  ~RecordServer();
  RecordServer(const RecordServer&) = delete;
  RecordServer& operator=(const RecordServer&) = delete;

  int Fd() const { return poller_.get(); }
  const std::string& Address() const { return address_; }

  // Accepts waiting connections and reads whatever has arrived; runs the handler for every
  // complete record. A record handler that itself serves this object is not re-entered.
  void HandleReadable();

 private:
  struct Connection {
    UniqueFd fd;
    RecordDecoder decoder;
    std::uint64_t age = 0;
  };

  RecordServer(std::string address, UniqueFd listener, UniqueFd poller, Handler handler,
               PeerCheck peerCheck);
  void AcceptWaiting();
  void Admit(UniqueFd fd);
  void ReadFrom(int fd);
  void Finish(int fd);
  void Drop(int fd);

  std::string address_;
  UniqueFd listener_;
  UniqueFd poller_;
  Handler handler_;
  PeerCheck peerCheck_;
  std::map<int, Connection> connections_;
  std::uint64_t admitted_ = 0;
  bool serving_ = false;
};

}  // namespace vantrel::loglink
