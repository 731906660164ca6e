#include "loglink/xlog_route.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/msg.h>
#include <sys/socket.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>

#include "loglink/printable_ascii.h"
#include "loglink/unique_fd.h"
#include "platform/diag.h"

namespace vantrel::loglink {
namespace {

// xlog reads at most 1024 bytes of a message, the last one of them its terminating NUL.
constexpr std::size_t kMaxMessage = 1023;
constexpr int kConnectTimeoutMs = 1000;

// xlog's queue, while xlog evidently reads it. A killed xlog leaves its queue behind: a
// message still waiting there, or a last reader that has gone, leaves the message to TCP,
// where only a running xlog answers.
std::optional<int> ReadQueue(int key) {
  int queue = ::msgget(key, 0);
  msqid_ds state{};
  if (queue < 0 || ::msgctl(queue, IPC_STAT, &state) != 0) return std::nullopt;
  bool readerGone = state.msg_lrpid != 0 && ::kill(state.msg_lrpid, 0) != 0 && errno == ESRCH;
  if (state.msg_qnum == 0 && !readerGone) return queue;
  platform::Trace("xlog link: nobody reads the message queue");
  return std::nullopt;
}

bool SendToQueue(int queue, const std::string& message) {
  struct {
    long type;
    char text[kMaxMessage + 1];
  } buffer{kXlogMessageType, {}};
  std::memcpy(buffer.text, message.data(), message.size());
  if (::msgsnd(queue, &buffer, message.size() + 1, IPC_NOWAIT) == 0) return true;
  platform::Trace(std::string("xlog link: message queue: ") + std::strerror(errno));
  return false;
}

UniqueFd ConnectLoopback(int port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd) return fd;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  pollfd watched{fd.get(), POLLOUT, 0};
  int error = errno;
  if (error == EINPROGRESS && ::poll(&watched, 1, kConnectTimeoutMs) == 1) {
    socklen_t length = sizeof error;
    ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length);
    if (error == 0) return fd;
  }
  platform::Trace("xlog link: port " + std::to_string(port) + ": " +
                  std::strerror(error == EINPROGRESS ? ETIMEDOUT : error));
  return {};
}

// A fresh loopback connection takes the whole small message at once; xlog reads it when the
// connection ends, so it is closed as soon as it is sent.
bool SendOnConnection(UniqueFd connection, const std::string& message) {
  return ::send(connection.get(), message.data(), message.size(), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(message.size());
}

}  // namespace

std::string XlogMessage(const LogContact& contact) {
  std::string message = "program:Vantrel\1version:1\1call:" + PrintableAscii(contact.HisCall) +
                        "\1tx:" + std::to_string(contact.Report) + "\1mode:CW";
  return message.substr(0, kMaxMessage);
}

XlogRoute::XlogRoute(int port, int queueKey)
    : port_(port == 0 ? kXlogPort : port), queueKey_(queueKey) {}

LogOutcome XlogRoute::SendToLog(const std::function<LogContact()>& readControls) {
  if (std::optional<int> queue = ReadQueue(queueKey_)) {
    if (!SendToQueue(*queue, XlogMessage(readControls()))) return {kXlogNotFound};
    return {};
  }
  UniqueFd connection = ConnectLoopback(port_);
  if (!connection) return {kXlogNotFound};
  if (!SendOnConnection(std::move(connection), XlogMessage(readControls()))) {
    return {kXlogNotFound};
  }
  return {};
}

LogOutcome XlogRoute::FetchFromLog() {
  return {kLogCannotAsk};
}

}  // namespace vantrel::loglink
