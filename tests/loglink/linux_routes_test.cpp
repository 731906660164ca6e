#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ipc.h>
#include <sys/msg.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "loglink/fldigi_route.h"
#include "loglink/loopback_server.h"
#include "loglink/unique_fd.h"
#include "loglink/xlog_route.h"
#include "loglink/xml_rpc_reply.h"

namespace vantrel::loglink {
namespace {

using namespace std::chrono_literals;

bool SameBox(const std::optional<LogMessageBox>& shown, const LogMessageBox& expected) {
  return shown && shown->text == expected.text && shown->caption == expected.caption &&
         shown->icon == expected.icon;
}

UniqueFd Connect(int family, int port) {
  UniqueFd fd(::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_storage address{};
  socklen_t length = 0;
  if (family == AF_INET) {
    auto* ipv4 = reinterpret_cast<sockaddr_in*>(&address);
    *ipv4 = {AF_INET, htons(static_cast<std::uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
    length = sizeof *ipv4;
  } else {
    auto* ipv6 = reinterpret_cast<sockaddr_in6*>(&address);
    ipv6->sin6_family = AF_INET6;
    ipv6->sin6_port = htons(static_cast<std::uint16_t>(port));
    ipv6->sin6_addr = in6addr_loopback;
    length = sizeof *ipv6;
  }
  if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), length) != 0) fd.Reset();
  return fd;
}

// A listening socket on a free loopback port, so tests running side by side never meet.
UniqueFd ListenOnFreePort(int& port) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t length = sizeof address;
  ::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), length);
  ::listen(fd.get(), 4);
  ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

int FreePort() {
  int port = 0;
  ListenOnFreePort(port);
  return port;
}

// Everything the peer sends until it closes the connection.
std::string ReadToEnd(int fd) {
  std::string got;
  char chunk[4096];
  pollfd watched{fd, POLLIN, 0};
  while (::poll(&watched, 1, 10000) == 1) {
    ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) break;
    got.append(chunk, static_cast<std::size_t>(n));
  }
  return got;
}

std::string Exchange(int port, const std::string& request, int family = AF_INET) {
  UniqueFd fd = Connect(family, port);
  if (!fd) return "no connection";
  ::send(fd.get(), request.data(), request.size(), MSG_NOSIGNAL);
  return ReadToEnd(fd.get());
}

std::string Poll(int port, std::string_view method, int family = AF_INET) {
  const std::string body = "<methodCall><methodName>" + std::string(method) +
                           "</methodName><params></params></methodCall>";
  return Exchange(
      port,
      "POST /RPC2 HTTP/1.0\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body,
      family);
}

std::string Answered(std::string_view value) {
  return HttpReply(200, XmlRpcResponseBody(XmlRpcString(value)));
}

LogContact Q1abc() {
  return {"Q1ABC", 599};
}

TEST(FldigiRouteTest, EveryPollAfterF11GetsTheCallAndReportOnBothLoopbackAddresses) {
  FldigiRoute route(FreePort());
  ASSERT_NE(route.Port(), 0);
  EXPECT_EQ(Poll(route.Port(), "log.get_call"), Answered(""));
  LogOutcome sent = route.SendToLog(Q1abc);
  EXPECT_FALSE(sent.messageBox);
  EXPECT_EQ(Poll(route.Port(), "log.get_call"), Answered("Q1ABC"));
  EXPECT_EQ(Poll(route.Port(), "log.get_call"), Answered("Q1ABC"));
  if (Connect(AF_INET6, route.Port())) {
    EXPECT_EQ(Poll(route.Port(), "log.get_rst_out", AF_INET6), Answered("599"));
  }
  EXPECT_TRUE(SameBox(route.FetchFromLog().messageBox, kLogCannotAsk));
}

TEST(FldigiRouteTest, RequestsThatAreNotCallsAreRefusedAndTheConnectionClosed) {
  FldigiRoute route(FreePort());
  const std::vector<std::pair<std::string, std::string>> cases{
      {"GET /RPC2 HTTP/1.1\r\n\r\n", HttpReply(405)},
      {"hello\r\n\r\n", HttpReply(400)},
      {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", HttpReply(411)},
      {"POST / HTTP/1.1\r\nContent-Length: 999999\r\n\r\n", HttpReply(413)},
      {"POST / HTTP/1.1\r\nX: " + std::string(20000, 'x'), HttpReply(413)},
      {"POST / HTTP/1.1\r\nContent-Length: 4\r\n\r\nnone",
       HttpReply(200, XmlRpcFaultBody("malformed method call"))},
  };
  for (const auto& [request, reply] : cases) {
    SCOPED_TRACE(request.substr(0, 40));
    EXPECT_EQ(Exchange(route.Port(), request), reply);
  }
  EXPECT_EQ(Poll(route.Port(), "main.tx"),
            HttpReply(200, XmlRpcFaultBody("main.tx: unknown method name")));
}

TEST(FldigiRouteTest, ATakenPortIsSaidAtF11WithoutReadingTheControlsUntilItIsFree) {
  int port = 0;
  UniqueFd taken = ListenOnFreePort(port);
  FldigiRoute route(port);
  EXPECT_EQ(route.Port(), 0);
  bool read = false;
  LogOutcome sent = route.SendToLog([&] {
    read = true;
    return Q1abc();
  });
  EXPECT_TRUE(SameBox(sent.messageBox, kLogPortInUse));
  EXPECT_FALSE(read);
  taken.Reset();
  EXPECT_FALSE(route.SendToLog(Q1abc).messageBox);
  EXPECT_EQ(Poll(port, "log.get_call"), Answered("Q1ABC"));
}

std::size_t OpenDescriptors() {
  return static_cast<std::size_t>(std::distance(
      std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

// Connections that never finish hold at most the limit of descriptors, each only until its
// time is up; a caller behind them is answered in its turn.
TEST(LoopbackServerTest, AFloodOfSilentConnectionsIsBoundedAndOutlived) {
  std::string error;
  auto server = LoopbackServer::Listen(0,
                                       [](std::string_view received) -> std::optional<std::string> {
                                         if (received.find('\n') == std::string_view::npos)
                                           return std::nullopt;
                                         return "answer";
                                       },
                                       error, {4, 100ms});
  ASSERT_TRUE(server) << error;
  const std::size_t before = OpenDescriptors();
  std::vector<UniqueFd> flood;
  for (int i = 0; i < 12; ++i) flood.push_back(Connect(AF_INET, server->Port()));
  EXPECT_LE(OpenDescriptors(), before + flood.size() + 4);
  EXPECT_EQ(Exchange(server->Port(), "call\n"), "answer");
  EXPECT_EQ(ReadToEnd(flood.front().get()), "");
}

TEST(XlogRouteTest, TheMessageHoldsTheCallAndReportAsPrintableFields) {
  EXPECT_EQ(XlogMessage(Q1abc()), "program:Vantrel\1version:1\1call:Q1ABC\1tx:599\1mode:CW");
  EXPECT_EQ(XlogMessage({"Q1\1A\nB\x83\x41", 5}),
            "program:Vantrel\1version:1\1call:Q1ABA\1tx:5\1mode:CW");
  EXPECT_EQ(XlogMessage({std::string(2000, 'Q'), 599}).size(), 1023u);
}

// A key of this test's own, so a running xlog's queue is never touched.
int TestQueueKey() {
  return 0x56540000 | (::getpid() & 0xFFFF);
}

TEST(XlogRouteTest, WithoutTheQueueTheMessageGoesOnOneConnectionThatEnds) {
  int port = 0;
  UniqueFd listener = ListenOnFreePort(port);
  XlogRoute route(port, TestQueueKey());
  LogOutcome sent = route.SendToLog(Q1abc);
  EXPECT_FALSE(sent.messageBox);
  UniqueFd accepted(::accept(listener.get(), nullptr, nullptr));
  EXPECT_EQ(ReadToEnd(accepted.get()), XlogMessage(Q1abc()));
  EXPECT_TRUE(SameBox(route.FetchFromLog().messageBox, kLogCannotAsk));
}

TEST(XlogRouteTest, WithTheQueueTheMessageGoesThereWithItsType) {
  const int queue = ::msgget(TestQueueKey(), IPC_CREAT | 0600);
  ASSERT_GE(queue, 0);
  XlogRoute route(FreePort(), TestQueueKey());
  EXPECT_FALSE(route.SendToLog(Q1abc).messageBox);
  struct {
    long type;
    char text[1024];
  } got{};
  ssize_t size = ::msgrcv(queue, &got, sizeof got.text, 0, IPC_NOWAIT);
  ::msgctl(queue, IPC_RMID, nullptr);
  EXPECT_EQ(got.type, kXlogMessageType);
  EXPECT_EQ(std::string(got.text, static_cast<std::size_t>(std::max<ssize_t>(size, 0))),
            XlogMessage(Q1abc()) + '\0');
}

// What a killed xlog leaves: its queue, with a message nobody took or a last reader gone.
TEST(XlogRouteTest, AQueueNobodyReadsLeavesTheMessageToTCP) {
  const std::vector<std::pair<const char*, bool>> cases{{"unread message", false},
                                                        {"reader gone", true}};
  for (const auto& [name, readerGone] : cases) {
    SCOPED_TRACE(name);
    const int queue = ::msgget(TestQueueKey(), IPC_CREAT | 0600);
    struct {
      long type;
      char text[8];
    } stale{kXlogMessageType, "stale"};
    ::msgsnd(queue, &stale, sizeof stale.text, IPC_NOWAIT);
    if (readerGone) {
      pid_t reader = ::fork();
      if (reader == 0) _exit(::msgrcv(queue, &stale, sizeof stale.text, 0, IPC_NOWAIT) < 0);
      int status = 1;
      ::waitpid(reader, &status, 0);
      ASSERT_EQ(status, 0);
    }
    int port = 0;
    UniqueFd listener = ListenOnFreePort(port);
    XlogRoute route(port, TestQueueKey());
    EXPECT_FALSE(route.SendToLog(Q1abc).messageBox);
    UniqueFd accepted(::accept(listener.get(), nullptr, nullptr));
    EXPECT_EQ(ReadToEnd(accepted.get()), XlogMessage(Q1abc()));
    ::msgctl(queue, IPC_RMID, nullptr);
  }
}

TEST(XlogRouteTest, NoXlogIsNotFoundWithoutReadingTheControls) {
  XlogRoute route(FreePort(), TestQueueKey());
  bool read = false;
  LogOutcome sent = route.SendToLog([&] {
    read = true;
    return Q1abc();
  });
  EXPECT_TRUE(SameBox(sent.messageBox, kXlogNotFound));
  EXPECT_FALSE(read);
}

}  // namespace
}  // namespace vantrel::loglink
