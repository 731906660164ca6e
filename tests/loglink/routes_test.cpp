#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/msg.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "loglink/fldigi_methods.h"
#include "loglink/fldigi_route.h"
#include "loglink/hamlog_wine_route.h"
#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/loopback_server.h"
#include "loglink/relay_protocol.h"
#include "loglink/unique_fd.h"
#include "loglink/xlog_route.h"
#include "loglink/xml_rpc_reply.h"
#include "loglink/xml_rpc_request.h"
#include "settings/data_table.h"
#include "support/temp_dir.h"

namespace vantrel::loglink {
namespace {

using namespace std::chrono_literals;
using Status = XmlRpcRequest::Status;

TEST(XmlRpcRequestTest, ReadsTheCallsOfTheLoggersOnceWhole) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/calls.txt")) {
    SCOPED_TRACE(row[0]);
    const XmlRpcRequest request = ReadXmlRpcRequest(row[0]);
    EXPECT_EQ(request.status, row[1].empty() ? Status::kNeedMore : Status::kCall);
    EXPECT_EQ(request.call.method, row[1]);
    EXPECT_EQ(request.call.params, std::vector<std::string>(row.begin() + 2, row.end()));
  }
}

// fldigi's own reply layout, which CQRLOG reads by position: the value bare in <value>.
TEST(XmlRpcReplyTest, RepliesAreLaidOutAsFldigiLaysThemOut) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/reply_layouts.txt")) {
    EXPECT_EQ(row[0] == "value"   ? XmlRpcResponseBody(XmlRpcString(row[1]))
              : row[0] == "fault" ? XmlRpcFaultBody(row[1])
                                  : HttpReply(std::stoi(row[0]), row[1]),
              row[2])
        << row[0];
  }
}

TEST(FldigiMethodsTest, EachMethodTheLoggersCallIsAnswered) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/fldigi_methods.txt")) {
    SCOPED_TRACE(row[0]);
    FldigiLogFields fields{"Q1ABC", "599", "1234", "5"};
    const std::vector<std::string> params(row.begin() + 6, row.end());
    EXPECT_EQ(AnswerFldigiCall({row[0], params}, fields, "1240"),
              row[1].front() == '<' ? XmlRpcResponseBody(row[1]) : XmlRpcFaultBody(row[1]));
    EXPECT_EQ(
        std::vector<std::string>({fields.call, fields.rstOut, fields.timeOn, fields.exchange}),
        std::vector<std::string>(row.begin() + 2, row.begin() + 6));
  }
}

const auto kQ1abc = [] { return LogContact{"Q1ABC", 599}; };

std::string_view BoxText(const LogOutcome& outcome) {
  return outcome.messageBox ? outcome.messageBox->text : "";
}

UniqueFd Connect(int family, int port) {
  UniqueFd fd(::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const auto net = htons(static_cast<std::uint16_t>(port));
  sockaddr_in ipv4{AF_INET, net, {htonl(INADDR_LOOPBACK)}, {}};
  sockaddr_in6 ipv6{AF_INET6, net, 0, in6addr_loopback, 0};
  const bool v4 = family == AF_INET;
  auto* address = v4 ? reinterpret_cast<sockaddr*>(&ipv4) : reinterpret_cast<sockaddr*>(&ipv6);
  if (::connect(fd.get(), address, v4 ? sizeof ipv4 : sizeof ipv6) != 0) fd.Reset();
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

// A call as xmlrpc-c (tlf) and CQRLOG send it: the body after a blank line, its length declared.
std::string Poll(int port, std::string_view method, int family = AF_INET) {
  const std::string body =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<methodCall>\r\n<methodName>" +
      std::string(method) + "</methodName>\r\n<params>\r\n</params>\r\n</methodCall>\r\n";
  return Exchange(port,
                  "POST /RPC2 HTTP/1.0\r\nHost: localhost:7362\r\nContent-Type: text/xml\r\n"
                  "Content-Length: " +
                      std::to_string(body.size()) + "\r\n\r\n" + body,
                  family);
}

std::string Answered(std::string_view value) {
  return HttpReply(200, XmlRpcResponseBody(XmlRpcString(value)));
}

TEST(FldigiRouteTest, EveryPollAfterF11GetsTheCallAndReportOnBothLoopbackAddresses) {
  FldigiRoute route(FreePort());
  ASSERT_NE(route.Port(), 0);
  EXPECT_EQ(Poll(route.Port(), "log.get_call"), Answered(""));
  EXPECT_EQ(BoxText(route.SendToLog(kQ1abc)), "");
  EXPECT_EQ(Poll(route.Port(), "log.get_call"), Answered("Q1ABC"));
  EXPECT_EQ(Poll(route.Port(), "log.get_call"), Answered("Q1ABC"));
  if (Connect(AF_INET6, route.Port())) {
    EXPECT_EQ(Poll(route.Port(), "log.get_rst_out", AF_INET6), Answered("599"));
  }
  EXPECT_EQ(BoxText(route.FetchFromLog()), kLogCannotAsk.text);
}

TEST(FldigiRouteTest, RefusedRequestsAndUnknownMethodsGetTheirReplyAndTheConnectionClosed) {
  FldigiRoute route(FreePort());
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/refused.txt")) {
    SCOPED_TRACE(row[0].substr(0, 40));
    EXPECT_EQ(Exchange(route.Port(), row[0]), std::isdigit(row[1][0])
                                                  ? HttpReply(std::stoi(row[1]))
                                                  : HttpReply(200, XmlRpcFaultBody(row[1])));
  }
}

std::size_t OpenDescriptors() {
  return static_cast<std::size_t>(std::distance(
      std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

// Connections that never finish hold at most the limit of descriptors, each only until its
// time is up; a caller behind them is answered in its turn.
TEST(LoopbackServerTest, AFloodOfSilentConnectionsIsBoundedAndOutlived) {
  const auto answer = [](std::string_view received) -> std::optional<std::string> {
    if (received.find('\n') == std::string_view::npos) return std::nullopt;
    return "answer";
  };
  std::string error;
  auto server = LoopbackServer::Listen(0, answer, error, {4, 100ms});
  ASSERT_TRUE(server) << error;
  const std::size_t before = OpenDescriptors();
  std::vector<UniqueFd> flood;
  for (int i = 0; i < 12; ++i) flood.push_back(Connect(AF_INET, server->Port()));
  EXPECT_LE(OpenDescriptors(), before + flood.size() + 4);
  EXPECT_EQ(Exchange(server->Port(), "call\n"), "answer");
  EXPECT_EQ(ReadToEnd(flood.front().get()), "");
}

TEST(XlogRouteTest, TheMessageHoldsTheCallAndReportAsPrintableFields) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/xlog_messages.txt"))
    EXPECT_EQ(XlogMessage({row[0], std::stoi(row[1])}), row[2]) << row[0].size();
}

// A key of this test's own, so a running xlog's queue is never touched.
int TestQueueKey() {
  return 0x56540000 | (::getpid() & 0xFFFF);
}

// An empty queue takes the message with its type. Without the queue, or with what a killed
// xlog leaves (its queue, with a message nobody took or a last reader gone), the message goes on
// one connection that ends.
TEST(XlogRouteTest, TheQueueTakesTheMessageUnlessNobodyReadsItThenTCPDoes) {
  for (const std::string queueLeft : {"empty", "none", "unread message", "reader gone"}) {
    SCOPED_TRACE(queueLeft);
    const int queue = queueLeft == "none" ? -1 : ::msgget(TestQueueKey(), IPC_CREAT | 0600);
    struct {
      long type;
      char text[1024];
    } message{kXlogMessageType, "stale"};
    if (queueLeft != "none" && queueLeft != "empty") ::msgsnd(queue, &message, 8, IPC_NOWAIT);
    if (queueLeft == "reader gone") {
      pid_t reader = ::fork();
      if (reader == 0) _exit(::msgrcv(queue, &message, 8, 0, IPC_NOWAIT) < 0);
      int status = 1;
      ::waitpid(reader, &status, 0);
      ASSERT_EQ(status, 0);
    }
    int port = 0;
    UniqueFd listener = ListenOnFreePort(port);
    XlogRoute route(port, TestQueueKey());
    EXPECT_FALSE(route.SendToLog(kQ1abc).messageBox);
    EXPECT_EQ(BoxText(route.FetchFromLog()), kLogCannotAsk.text);
    if (queueLeft == "empty") {
      const ssize_t size = ::msgrcv(queue, &message, sizeof message.text, 0, IPC_NOWAIT);
      EXPECT_EQ(message.type, kXlogMessageType);
      EXPECT_EQ(std::string(message.text, static_cast<std::size_t>(std::max<ssize_t>(size, 0))),
                XlogMessage(kQ1abc()) + '\0');
    } else {
      UniqueFd accepted(::accept(listener.get(), nullptr, nullptr));
      EXPECT_EQ(ReadToEnd(accepted.get()), XlogMessage(kQ1abc()));
    }
    if (queue >= 0) ::msgctl(queue, IPC_RMID, nullptr);
  }
}

// Without xlog, or with fldigi's port taken until it is free, F11 says so and reads nothing.
TEST(LogRouteTest, AMissingLoggerOrATakenPortIsSaidAtF11WithoutReadingTheControls) {
  int port = 0;
  UniqueFd taken = ListenOnFreePort(port);
  FldigiRoute fldigi(port);
  EXPECT_EQ(fldigi.Port(), 0);
  XlogRoute xlog(FreePort(), TestQueueKey());
  for (auto [route, box] :
       {std::pair<LogRoute*, LogMessageBox>{&fldigi, kLogPortInUse}, {&xlog, kXlogNotFound}}) {
    bool read = false;
    const LogOutcome sent = route->SendToLog([&] {
      read = true;
      return kQ1abc();
    });
    EXPECT_EQ(BoxText(sent), box.text);
    EXPECT_FALSE(read);
  }
  taken.Reset();
  EXPECT_EQ(BoxText(fldigi.SendToLog(kQ1abc)), "");
  EXPECT_EQ(Poll(port, "log.get_call"), Answered("Q1ABC"));
}

// The text and its NUL fit 256 bytes; a cut never splits a double-byte character.
TEST(LogRecords, SendTextHoldsTheCallsignAndTheReport) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/send_texts.txt")) {
    EXPECT_EQ(CopyDataSendText(row[0], std::stoi(row[1])),
              "\n" + row[2] + "\n\n\n" + row[1] + "\n\n\nCW")
        << row[0].size();
  }
}

// Every case starts from the callsign box holding OLD and the report box 599.
TEST(LogRecords, ReplyFillsTheBoxes) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/replies.txt")) {
    SCOPED_TRACE(row[0]);
    std::string hisCall = "OLD";
    int report = 599;
    ApplyLogReply(ParseLogReply(row[0]), hisCall, report);
    EXPECT_EQ(hisCall, row[1]);
    EXPECT_EQ(report, std::stoi(row[2]));
  }
}

TEST(RelayProtocol, RecordsGoOutInHexAndLinesComeBackReadAsMeantOrNotAtAll) {
  EXPECT_EQ(RelaySendLine("\x82\xA0"), "send 82a0\n");
  EXPECT_EQ(RelaySendLine(""), "send \n");
  static const char* const kKinds[] = {"ready", "result", "notfound", "reply"};
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/relay_lines.txt")) {
    const std::optional<RelayMessage> read = ParseRelayLine(row[0]);
    EXPECT_EQ(read ? kKinds[static_cast<int>(read->kind)] + (" " + std::to_string(read->result)) +
                         " " + read->bytes
                   : "none",
              row[1])
        << row[0];
  }
}

// Kills `pid` and waits until it has become a zombie, which its parent has not yet reaped.
void Kill(pid_t pid) {
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  for (int i = 0; i < 1000; ++i) {
    std::string stat;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), stat);
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos || stat.compare(close, 4, ") Z ") == 0) return;
    std::this_thread::sleep_for(5ms);
  }
  ADD_FAILURE() << pid << " never died";
}

// The route with a stand-in for Wine and the relay (fake_relay) in a prefix folder of its own;
// the relay "program" is a file holding the stand-in's behaviour.
class HamlogWineRouteTest : public ::testing::Test {
 protected:
  void Route(const std::string& behaviour, std::string wineCommand = VANTREL_FAKE_RELAY) {
    std::filesystem::create_directory(dir_.path() / "prefix");
    dir_.Write("prefix/system.reg", "");
    dir_.Write("relay.exe", behaviour);
    LogLinkSettings settings{.wineCommand = std::move(wineCommand),
                             .winePrefix = (dir_.path() / "prefix").string()};
    route_ = std::make_unique<HamlogWineRoute>(
        settings, (dir_.path() / "relay.exe").string(),
        [this](const LogReply& reply) {
          std::lock_guard lock(mutex_);
          replies_.push_back(reply);
        },
        300ms);
  }
  std::vector<pid_t> Pids() const {
    std::vector<pid_t> pids;
    std::ifstream in(dir_.path() / "prefix/pids");
    for (pid_t pid; in >> pid;) pids.push_back(pid);
    return pids;
  }
  std::string_view Send(bool* controlsRead = nullptr) {
    return BoxText(route_->SendToLog([controlsRead] {
      if (controlsRead) *controlsRead = true;
      return LogContact{"Q1ABC", 599};
    }));
  }
  std::string_view Fetch() { return BoxText(route_->FetchFromLog()); }

  settings::TempDir dir_;
  std::unique_ptr<HamlogWineRoute> route_;
  std::mutex mutex_;
  std::vector<LogReply> replies_;
};

TEST_F(HamlogWineRouteTest, AcceptedRecordsShowNoBoxAndTheReplyReachesTheHandler) {
  Route("accept");
  EXPECT_EQ(Send(), "");
  EXPECT_EQ(Fetch(), "");
  route_.reset();
  EXPECT_EQ(dir_.Read("prefix/received"),
            "find\nsend 0a51314142430a0a0a3539390a0a0a4357\nrequest\n");
  EXPECT_EQ(Pids().size(), 1u);
  ASSERT_EQ(replies_.size(), 1u);
  EXPECT_EQ(replies_[0].HisCall, "Q1ABC");
  EXPECT_EQ(replies_[0].Report, 579);
}

// The relay's outcomes, and nothing started without Wine, without the prefix or the relay.
TEST_F(HamlogWineRouteTest, EachOutcomeGivesItsBox) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/outcomes.txt")) {
    const std::string& behaviour = row[0];
    SCOPED_TRACE(behaviour);
    const std::size_t started = Pids().size();
    Route(behaviour, behaviour == "no wine" ? dir_.path() / "no-wine" : VANTREL_FAKE_RELAY);
    if (behaviour == "no prefix") std::filesystem::remove(dir_.path() / "prefix/system.reg");
    if (behaviour == "no relay") std::filesystem::remove(dir_.path() / "relay.exe");
    bool controlsRead = false;
    EXPECT_EQ(Send(&controlsRead), row[1]);
    EXPECT_EQ(controlsRead, row[2] == "1");
    EXPECT_EQ(Fetch(), row[1]);
    if (behaviour.starts_with("no ")) {
      EXPECT_EQ(Pids().size(), started);
    }
  }
  EXPECT_TRUE(replies_.empty());
}

// A hung relay is ended after the bound; the next press starts another.
TEST_F(HamlogWineRouteTest, ARelayThatHasDiedOrHungIsStartedAgainOnTheNextPress) {
  Route("accept");
  EXPECT_EQ(Send(), "");
  Kill(Pids().at(0));
  EXPECT_EQ(Send(), "");
  EXPECT_EQ(Pids().size(), 2u);

  dir_.Write("relay.exe", "hang");
  Kill(Pids().at(1));
  EXPECT_EQ(Send(), kLogProgramNotFound.text);
  EXPECT_NE(::kill(Pids().at(2), 0), 0) << "the hung relay is still there";
  dir_.Write("relay.exe", "accept");
  EXPECT_EQ(Fetch(), "");
  EXPECT_EQ(Pids().size(), 4u);
}

}  // namespace
}  // namespace vantrel::loglink
