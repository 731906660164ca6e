#include "loglink/log_link.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>

#include "link_test_support.h"
#include "loglink/escaped_bytes.h"
#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/unix_socket.h"
#include "loglink/wire_format.h"
#include "settings/data_table.h"

namespace vantrel::loglink {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

bool SameBox(const std::optional<LogMessageBox>& shown, const LogMessageBox& expected) {
  return shown && shown->text == expected.text && shown->caption == expected.caption &&
         shown->icon == expected.icon;
}

// A link whose reply handler fills the window's two boxes.
class LogLinkTest : public testing::LinkTest {
 protected:
  LogLink& Link(LogLinkOptions options = {}) {
    link_ = std::make_unique<LogLink>(
        [this](const LogReply& reply) { ApplyLogReply(reply, hisCall_, report_); },
        std::move(options));
    return *link_;
  }
  void ExpectBoxesUntouched() {
    EXPECT_EQ(hisCall_, "OLD");
    EXPECT_EQ(report_, 599);
  }

  std::unique_ptr<LogLink> link_;
  std::string hisCall_ = "OLD";
  int report_ = 599;
};

LogContact Q1abc() {
  return {"Q1ABC", 599};
}

// A logging program that has gone leaves its socket behind.
TEST_F(LogLinkTest, AGoneLogProgramIsNotFoundAndNothingIsRead) {
  ListenAt(LogProgramPath()).Reset();
  bool controlsRead = false;
  LogOutcome sent = Link().SendToLog([&] {
    controlsRead = true;
    return Q1abc();
  });
  EXPECT_TRUE(SameBox(sent.messageBox, kLogProgramNotFound));
  EXPECT_FALSE(controlsRead);
  EXPECT_TRUE(SameBox(link_->FetchFromLog().messageBox, kLogProgramNotFound));
}

// The exact bytes of F11 and F12, as a logging program written from the documentation reads
// them, and the window it names in its answer.
TEST_F(LogLinkTest, RequestsPutExactlyTheseBytesOnTheSocket) {
  const struct {
    std::string call;
    std::string identifier;
    std::string text;
  } cases[] = {{"Q1ABC", "\x0F\x00\x03\x00"s, "\nQ1ABC\n\n\n599\n\n\nCW"},
               {"", "\x0F\x00\x03\x00"s, "\n\n\n\n599\n\n\nCW"},
               {"", "\x73\x00\x00\x00"s, ""}};
  UniqueFd listener = ListenAt(LogProgramPath());
  LogLink& link = Link();
  const std::string address = link.ReplyAddress();
  EXPECT_EQ(address.rfind(dir_ + "/vantrel-", 0), 0u);
  for (const auto& c : cases) {
    const std::string expected =
        "CPYD\x01\x00"s + static_cast<char>(address.size()) + "\x00"s + c.identifier +
        "\x00\x00\x00\x00"s + static_cast<char>(c.text.size()) + "\x00\x00\x00"s + address + c.text;
    auto logProgram = std::async(std::launch::async, [&] {
      UniqueFd connection(::accept(listener.get(), nullptr, nullptr));
      std::string received(expected.size(), '\0');
      ::recv(connection.get(), received.data(), received.size(), MSG_WAITALL);
      ::send(connection.get(), "\x2A\0\0\0\0\0\0\x01", 8, MSG_NOSIGNAL);
      return received;
    });
    LogOutcome outcome = c.text.empty() ? link.FetchFromLog() : link.SendToLog([&] {
      return LogContact{c.call, 599};
    });
    EXPECT_EQ(logProgram.get(), expected);
    EXPECT_FALSE(outcome.messageBox);
    if (!c.text.empty()) {
      EXPECT_EQ(outcome.foregroundWindow, 0x010000000000002Au);
    }
  }
}

// A logging program that answers every record with `result` on a thread of its own.
struct AnsweringLogProgram {
  AnsweringLogProgram(const std::string& address, std::uint64_t result)
      : server(RecordServer::Listen(address,
                                    [this, result](const CopyDataRecord&) {
                                      ++records;
                                      return result;
                                    })),
        thread(server->Fd(), [this] { server->HandleReadable(); }) {}
  std::atomic<int> records = 0;
  std::unique_ptr<RecordServer> server;
  testing::ServingThread thread;
};

TEST_F(LogLinkTest, RefusalOrSilenceShowsInvalidCommandAndChangesNothing) {
  {
    AnsweringLogProgram refusing(LogProgramPath(), 0);
    EXPECT_TRUE(SameBox(Link().SendToLog(Q1abc).messageBox, kInvalidCommand));
  }
  UniqueFd silent = ListenAt(LogProgramPath());
  LogLink& link = Link({.answerTimeout = 30ms});
  EXPECT_TRUE(SameBox(link.SendToLog(Q1abc).messageBox, kInvalidCommand));
  EXPECT_TRUE(SameBox(link.FetchFromLog().messageBox, kInvalidCommand));
  ExpectBoxesUntouched();
}

// The same check guards the logging program's socket and Vantrel's reply socket.
TEST_F(LogLinkTest, AnotherUsersSocketsAreLeftUnread) {
  AnsweringLogProgram logProgram(LogProgramPath(), 1);
  std::vector<uid_t> asked;
  LogLink& link = Link({.peerCheck = [&](uid_t peer) {
    asked.push_back(peer);
    return false;
  }});
  EXPECT_TRUE(SameBox(link.FetchFromLog().messageBox, kLogProgramNotFound));
  EXPECT_EQ(logProgram.records, 0);
  UniqueFd client(ConnectTo(link.ReplyAddress()));
  SendAll(client.get(), *EncodeRecord({0x73, "Q1ABC x y 579", ""}),
          std::chrono::steady_clock::now() + 10s);
  pollfd wait{link.Fd(), POLLIN, 0};
  ASSERT_EQ(::poll(&wait, 1, 10000), 1);
  link.HandleReadable();
  EXPECT_EQ(asked, (std::vector<uid_t>{::geteuid(), ::geteuid()}));
  ExpectBoxesUntouched();
}

// The text and its NUL fit 256 bytes; a cut never splits a double-byte character.
TEST_F(LogLinkTest, ReplySocketIsTheUsersOnlyAndGoesWithTheLink) {
  const std::string address = Link().ReplyAddress();
  struct stat info {};
  ASSERT_EQ(::stat(address.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  link_.reset();
  EXPECT_FALSE(std::filesystem::exists(address));
}

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
    SCOPED_TRACE(EscapedBytes(row[0]));
    std::string hisCall = "OLD";
    int report = 599;
    ApplyLogReply(ParseLogReply(row[0]), hisCall, report);
    EXPECT_EQ(hisCall, row[1]);
    EXPECT_EQ(report, std::stoi(row[2]));
  }
}

TEST(WireFormat, ResultsHaveFixedBytesAndOverlongOrMalformedRecordsAreRefused) {
  EXPECT_EQ(EncodeResult(0x0102030405060708), "\x08\x07\x06\x05\x04\x03\x02\x01"s);
  EXPECT_FALSE(EncodeRecord({1, std::string(kMaxMessageSize - kHeaderSize + 1, 'x'), ""}));
  EXPECT_TRUE(EncodeRecord({1, std::string(kMaxMessageSize - kHeaderSize, 'x'), ""}));
  EXPECT_FALSE(EncodeRecord({1, "", "relative/path"}));
  EXPECT_FALSE(EncodeRecord({1, "", "/" + std::string(kMaxReplyAddress, 'a')}));
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/malformed_records.txt")) {
    RecordDecoder decoder;
    decoder.Feed(row[0]);
    EXPECT_EQ(decoder.state(), RecordDecoder::State::kMalformed) << row[1];
  }
}

}  // namespace
}  // namespace vantrel::loglink
