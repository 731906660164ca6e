#include <gtest/gtest.h>
#include <sys/socket.h>

#include <string>

#include "link_test_support.h"
#include "loglink/log_link.h"
#include "loglink/unix_socket.h"
#include "loglink/wire_format.h"

namespace vantrel::loglink {
namespace {

using namespace std::chrono_literals;
using testing::LinkTest;
using testing::ServeUntil;

// A raw client of Vantrel's reply socket; it learns what the link made of its bytes from what
// comes back before the link closes the connection.
class RawClient {
 public:
  explicit RawClient(const std::string& address) : fd_(ConnectTo(address)) {}
  bool Send(std::string_view bytes) {
    return SendAll(fd_.get(), bytes, std::chrono::steady_clock::now() + 10s);
  }
  void FinishSending() { ::shutdown(fd_.get(), SHUT_WR); }
  // True once the link has closed its end; what it answered before is in answer().
  bool Closed() {
    char chunk[64];
    ssize_t got = ::recv(fd_.get(), chunk, sizeof chunk, MSG_DONTWAIT);
    if (got > 0) answer_.append(chunk, static_cast<std::size_t>(got));
    return got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
  }
  const std::string& answer() const { return answer_; }
  bool connected() const { return static_cast<bool>(fd_); }

 private:
  UniqueFd fd_;
  std::string answer_;
};

class ReplySocketTest : public LinkTest {
 protected:
  void MakeLink(PeerCheck peerCheck = IsSameUser) {
    link_ = std::make_unique<LogLink>(
        [this](const LogReply& reply) {
          ApplyLogReply(reply, hisCall_, report_);
          ++replies_;
        },
        LogLinkOptions{.answerTimeout = 2s, .peerCheck = std::move(peerCheck)});
    ASSERT_GE(link_->Fd(), 0);
  }
  // Serves the link until the client's connection is closed.
  std::string Deliver(RawClient& client) {
    EXPECT_TRUE(ServeUntil(
        link_->Fd(), [&] { link_->HandleReadable(); }, [&] { return client.Closed(); }));
    return client.answer();
  }
  void ExpectUntouched() {
    EXPECT_EQ(replies_, 0);
    EXPECT_EQ(hisCall_, "OLD");
    EXPECT_EQ(report_, 599);
  }

  std::unique_ptr<LogLink> link_;
  std::string hisCall_ = "OLD";
  int report_ = 599;
  int replies_ = 0;
};

std::string Reply(std::string text) {
  return *EncodeRecord({0x73, std::move(text), ""});
}

TEST_F(ReplySocketTest, WellFormedReplyIsTakenAndAnsweredWithOne) {
  MakeLink();
  RawClient client(link_->ReplyAddress());
  ASSERT_TRUE(client.Send(Reply("Q1ABC x y 579")));
  EXPECT_EQ(Deliver(client), EncodeResult(1));
  EXPECT_EQ(hisCall_, "Q1ABC");
  EXPECT_EQ(report_, 579);
}

TEST_F(ReplySocketTest, ReplyOfExactly64KiBIsTaken) {
  MakeLink();
  RawClient client(link_->ReplyAddress());
  std::string text = "Q1ABC x y 579";
  text.resize(kMaxMessageSize - kHeaderSize, ' ');
  ASSERT_TRUE(client.Send(Reply(text)));
  EXPECT_EQ(Deliver(client), EncodeResult(1));
  EXPECT_EQ(report_, 579);
}

TEST_F(ReplySocketTest, AnotherUsersConnectionIsClosedUnread) {
  std::vector<uid_t> asked;
  MakeLink([&](uid_t peer) {
    asked.push_back(peer);
    return false;
  });
  RawClient client(link_->ReplyAddress());
  ASSERT_TRUE(client.connected());
  client.Send(Reply("Q1ABC x y 579"));
  EXPECT_EQ(Deliver(client), "");
  EXPECT_EQ(asked, std::vector<uid_t>{::geteuid()});
  ExpectUntouched();
}

struct BadReply {
  const char* name;
  std::string bytes;
};

class DroppedReply : public ReplySocketTest, public ::testing::WithParamInterface<BadReply> {};

TEST_P(DroppedReply, IsDroppedWithoutEffect) {
  MakeLink();
  RawClient client(link_->ReplyAddress());
  client.Send(GetParam().bytes);
  client.FinishSending();
  EXPECT_EQ(Deliver(client), "");
  ExpectUntouched();
}

std::string Oversized() {
  std::string message = Reply("Q1ABC x y 579");
  std::uint32_t count = kMaxMessageSize - kHeaderSize + 1;
  for (int i = 0; i < 4; ++i) message[16 + i] = static_cast<char>(count >> (8 * i));
  return message + std::string(count - 13, ' ');
}

std::string BadMagic() {
  std::string message = Reply("Q1ABC x y 579");
  message[0] = 'X';
  return message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DroppedReply,
    ::testing::Values(BadReply{"oversized", Oversized()},
                      BadReply{"truncated_body", Reply("Q1ABC x y 579").substr(0, 25)},
                      BadReply{"truncated_header", Reply("Q1ABC x y 579").substr(0, 10)},
                      BadReply{"nothing", ""}, BadReply{"bad_magic", BadMagic()}),
    [](const auto& info) { return std::string(info.param.name); });

// Each stalled client is accepted before the next connects, so the listen queue never fills.
TEST_F(ReplySocketTest, UnfinishedConnectionsDoNotPileUp) {
  MakeLink();
  std::vector<std::unique_ptr<RawClient>> stalled;
  for (int i = 0; i < 20; ++i) {
    stalled.push_back(std::make_unique<RawClient>(link_->ReplyAddress()));
    stalled.back()->Send(Reply("Q1ABC x y 579").substr(0, 5));
    pollfd wait{link_->Fd(), POLLIN, 0};
    ::poll(&wait, 1, 1000);
    link_->HandleReadable();
  }
  EXPECT_TRUE(ServeUntil(
      link_->Fd(), [&] { link_->HandleReadable(); }, [&] { return stalled.front()->Closed(); }));
  RawClient client(link_->ReplyAddress());
  ASSERT_TRUE(client.Send(Reply("K9XYZ")));
  EXPECT_EQ(Deliver(client), EncodeResult(1));
  EXPECT_EQ(hisCall_, "K9XYZ");
}

}  // namespace
}  // namespace vantrel::loglink
