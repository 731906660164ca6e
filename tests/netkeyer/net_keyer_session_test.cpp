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

// Records each request as one line; the queue is keyed when the test says so.
struct FakeTarget final : KeyingTarget {
  void QueueText(const operating::NetworkText& text) override {
    std::string line = "text";
    for (const operating::TextPiece& piece : text) line += " " + piece.text;
    calls.push_back(line);
    keyed = false;
  }
  void Abort() override {
    calls.push_back("abort");
    keyed = true;
  }
  void SetSpeed(unsigned wpm) override { calls.push_back("speed " + std::to_string(wpm)); }
  void SetPtt(bool on) override { calls.push_back(on ? "ptt 1" : "ptt 0"); }
  void SetWeight(int weight) override { calls.push_back("weight " + std::to_string(weight)); }
  void SetTone(unsigned hz) override { calls.push_back("tone " + std::to_string(hz)); }
  void SetPttLeadIn(unsigned ms) override { calls.push_back("lead-in " + std::to_string(ms)); }
  void Tune(unsigned seconds) override { calls.push_back("tune " + std::to_string(seconds)); }
  void Reset() override { calls.push_back("reset"); }
  bool QueuedTextKeyed() const override { return keyed; }

  std::vector<std::string> calls;
  bool keyed = true;
};

struct Step {
  std::string datagram;  // empty: the queued text has now been keyed
  std::vector<std::string> calls;
  std::vector<std::string> replies;
};

struct SessionRig {
  SessionRig() {
    PeerAddress peer;
    peer.length = 1;
    from = peer;
  }
  FakeTarget target;
  std::vector<std::string> replies;
  PeerAddress from;
  NetKeyerSession session{
      target, [this](const PeerAddress&, std::string_view bytes) { replies.emplace_back(bytes); }};
};

TEST(NetKeyerSession, RequestsActAndRepliesFollowTheKeying) {
  const std::vector<Step> steps = {
      {"\0330", {"reset"}, {}},
      {"\0332 30", {"speed 30"}, {}},
      {"\0333600", {"tone 600"}, {}},
      {"\0337-20", {"weight -20"}, {}},
      {"\033a1", {"ptt 1"}, {}},
      {"\033d70", {"lead-in 50"}, {}},
      {"\033c3", {"tune 3"}, {}},
      {"\033c0", {"abort"}, {}},
      {"\0335", {}, {}},
      {"\0336", {}, {}},
      {"\0338ttyS0", {}, {}},
      {"\033hcat", {}, {}},
      {"purring", {"text purring"}, {}},
      {"", {}, {"hcat\r\n"}},
      {"barking", {"text barking"}, {}},
      {"", {}, {}},
      {"TEST^", {"text TEST"}, {}},
      {"", {}, {"TEST\r\n"}},
      {"\033hx", {}, {}},
      {"LONG", {"text LONG"}, {}},
      {"\0334", {"abort"}, {"break\r\n"}},
      {"", {}, {}},
      {"^", {}, {"\r\n"}},
  };
  SessionRig rig;
  for (const Step& step : steps) {
    if (step.datagram.empty()) {
      rig.target.keyed = true;
      rig.session.OnKeyerProgress();
    } else {
      rig.session.OnDatagram(step.datagram, rig.from);
    }
    EXPECT_EQ(std::exchange(rig.target.calls, {}), step.calls) << step.datagram;
    EXPECT_EQ(std::exchange(rig.replies, {}), step.replies) << step.datagram;
  }
}

TEST(NetKeyerSession, AFloodIsCappedUntilTheQueueHasBeenKeyed) {
  SessionRig rig;
  const std::string datagram(256, 'E');
  std::size_t queued = 0;
  for (int i = 0; i < 100; ++i) {
    rig.session.OnDatagram(datagram, rig.from);
    queued += rig.target.calls.size();
    rig.target.calls.clear();
  }
  EXPECT_EQ(queued, kQueuedTextLimit / datagram.size());
  EXPECT_TRUE(rig.session.ClientKeying());
  rig.target.keyed = true;
  rig.session.OnKeyerProgress();
  EXPECT_FALSE(rig.session.ClientKeying());
  rig.session.OnDatagram(datagram, rig.from);
  EXPECT_EQ(rig.target.calls.size(), 1u);
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
