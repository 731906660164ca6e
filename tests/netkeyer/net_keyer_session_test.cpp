#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>

#include <string>
#include <vector>

#include "netkeyer/net_keyer_session.h"
#include "netkeyer/udp_listener.h"

namespace vantrel::netkeyer {
namespace {

// Records each request and each reply as one line; the queue is keyed when the test says so.
struct SessionRig final : KeyingTarget {
  void QueueText(const operating::NetworkText& text) override {
    std::string line = "text";
    for (const operating::TextPiece& piece : text) line += " " + piece.text;
    log.push_back(line);
    keyed = false;
  }
  void Abort() override {
    log.push_back("abort");
    keyed = true;
  }
  void SetSpeed(unsigned wpm) override { log.push_back("speed " + std::to_string(wpm)); }
  void SetPtt(bool on) override { log.push_back(on ? "ptt 1" : "ptt 0"); }
  void SetWeight(int weight) override { log.push_back("weight " + std::to_string(weight)); }
  void SetTone(unsigned hz) override { log.push_back("tone " + std::to_string(hz)); }
  void SetPttLeadIn(unsigned ms) override { log.push_back("lead-in " + std::to_string(ms)); }
  void Tune(unsigned seconds) override { log.push_back("tune " + std::to_string(seconds)); }
  void Reset() override { log.push_back("reset"); }
  bool QueuedTextKeyed() const override { return keyed; }
  // An empty datagram stands for the keyer having keyed the queued text.
  std::vector<std::string> Step(const std::string& datagram) {
    if (datagram.empty()) {
      keyed = true;
      session.OnKeyerProgress();
    } else {
      session.OnDatagram(datagram, from);
    }
    return std::exchange(log, {});
  }

  std::vector<std::string> log;
  bool keyed = true;
  PeerAddress from{.length = 1};
  NetKeyerSession session{*this, [this](const PeerAddress&, std::string_view bytes) {
                            log.push_back("reply " + std::string(bytes));
                          }};
};

TEST(NetKeyerSession, RequestsActAndRepliesFollowTheKeying) {
  const std::pair<std::string, std::vector<std::string>> steps[] = {
      {"\0330", {"reset"}},
      {"\0332 30", {"speed 30"}},
      {"\0333600", {"tone 600"}},
      {"\0337-20", {"weight -20"}},
      {"\033a1", {"ptt 1"}},
      {"\033d70", {"lead-in 50"}},
      {"\033c3", {"tune 3"}},
      {"\033c0", {"abort"}},
      {"\0335", {}},
      {"\0336", {}},
      {"\0338ttyS0", {}},
      {"\033hcat", {}},
      {"purring", {"text purring"}},
      {"", {"reply hcat\r\n"}},
      {"barking", {"text barking"}},
      {"", {}},
      {"TEST^", {"text TEST"}},
      {"", {"reply TEST\r\n"}},
      {"\033hx", {}},
      {"LONG", {"text LONG"}},
      {"\0334", {"abort", "reply break\r\n"}},
      {"", {}},
      {"^", {"reply \r\n"}},
  };
  SessionRig rig;
  for (const auto& [datagram, log] : steps) EXPECT_EQ(rig.Step(datagram), log) << datagram;
}

TEST(NetKeyerSession, AFloodIsCappedUntilTheQueueHasBeenKeyed) {
  SessionRig rig;
  const std::string datagram(256, 'E');
  std::size_t queued = 0;
  for (int i = 0; i < 100; ++i) queued += rig.Step(datagram).size();
  EXPECT_EQ(queued, kQueuedTextLimit / datagram.size());
  EXPECT_TRUE(rig.session.ClientKeying());
  rig.Step("");
  EXPECT_FALSE(rig.session.ClientKeying());
  EXPECT_EQ(rig.Step(datagram).size(), 1u);
}

// Real sockets on the loopback: a reply goes back to the sender's port, an oversized datagram
// is dropped, and a second listener on the same port is told the port is taken.
TEST(UdpListener, RepliesToTheSenderAndRefusesATakenPort) {
  std::string error;
  UdpListener listener;
  unsigned port = 0;
  for (unsigned candidate = 47000; candidate < 47100 && !listener.IsOpen(); ++candidate) {
    listener = UdpListener::Open("127.0.0.1", candidate, error);
    port = candidate;
  }
  ASSERT_TRUE(listener.IsOpen()) << error;
  UdpListener second = UdpListener::Open("127.0.0.1", port, error);
  EXPECT_FALSE(second.IsOpen());
  EXPECT_NE(error.find("他のプログラムが使用中"), std::string::npos) << error;
  EXPECT_FALSE(UdpListener::Open("localhost", port, error).IsOpen());

  std::string clientError;
  UdpListener client = UdpListener::Open("127.0.0.1", port + 1000, clientError);
  ASSERT_TRUE(client.IsOpen()) << clientError;
  PeerAddress to;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&to.storage);
  v4->sin_family = AF_INET;
  v4->sin_port = htons(static_cast<std::uint16_t>(port));
  v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  to.length = sizeof(sockaddr_in);
  client.Send(to, std::string(300, 'E'));
  client.Send(to, "TEST^");

  std::vector<std::string> got;
  pollfd wait{listener.Fds()[0], POLLIN, 0};
  while (got.empty() && ::poll(&wait, 1, 2000) > 0) {
    listener.ReadWaiting(
        wait.fd,
        [&](std::string_view bytes, const PeerAddress& from) {
          got.emplace_back(bytes);
          listener.Send(from, "TEST\r\n");
        },
        8);
  }
  EXPECT_EQ(got, std::vector<std::string>{"TEST^"});
  std::string reply;
  pollfd answer{client.Fds()[0], POLLIN, 0};
  ASSERT_GT(::poll(&answer, 1, 2000), 0);
  client.ReadWaiting(
      answer.fd, [&](std::string_view bytes, const PeerAddress&) { reply = bytes; }, 1);
  EXPECT_EQ(reply, "TEST\r\n");
}

}  // namespace
}  // namespace vantrel::netkeyer
