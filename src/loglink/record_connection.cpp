#include "loglink/record_connection.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <string>

#include "loglink/unix_socket.h"
#include "loglink/wire_format.h"

namespace vantrel::loglink {

std::optional<RecordConnection> RecordConnection::Open(const std::string& address,
                                                       const PeerCheck& peerCheck) {
  UniqueFd fd = ConnectTo(address);
  if (!fd || !PeerAllowed(fd.get(), peerCheck)) return std::nullopt;
  return RecordConnection(std::move(fd));
}

std::uint64_t RecordConnection::Exchange(const CopyDataRecord& record,
                                         std::chrono::milliseconds timeout,
                                         const Sideline& sideline) {
  std::optional<std::string> message = EncodeRecord(record);
  if (!message) return 0;
  auto deadline = std::chrono::steady_clock::now() + timeout;
  if (!SendAll(fd_.get(), *message, deadline)) return 0;
  return AwaitResult(deadline, sideline).value_or(0);
}

std::optional<std::uint64_t> RecordConnection::AwaitResult(
    std::chrono::steady_clock::time_point deadline, const Sideline& sideline) {
  std::string answer;
  while (answer.size() < kResultSize) {
    pollfd waits[2] = {{fd_.get(), POLLIN, 0}, {sideline.fd, POLLIN, 0}};
    int ready = ::poll(waits, sideline.fd >= 0 ? 2 : 1, RemainingMs(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return std::nullopt;
    if (sideline.fd >= 0 && (waits[1].revents & POLLIN)) sideline.serve();
    if (waits[0].revents == 0) continue;
    char chunk[kResultSize];
    ssize_t got = ::recv(fd_.get(), chunk, kResultSize - answer.size(), MSG_DONTWAIT);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return std::nullopt;
    answer.append(chunk, static_cast<std::size_t>(got));
  }
  return DecodeResult(answer);
}

}  // namespace vantrel::loglink
