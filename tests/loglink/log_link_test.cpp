#include "loglink/log_link.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <future>
#include <optional>
#include <sstream>
#include <string>

#include "link_test_support.h"
#include "loglink/log_records.h"
#include "loglink/log_stub.h"
#include "loglink/record_connection.h"
#include "loglink/unix_socket.h"

namespace vantrel::loglink {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using testing::LinkTest;
using testing::RecordLog;
using testing::ServeUntil;
using testing::ServingThread;

// The window's two boxes, filled by the reply handler.
struct Boxes {
  std::string HisCall = "OLD";
  int Report = 599;
  int replies = 0;
  LogLink::ReplyHandler Handler() {
    return [this](const LogReply& reply) {
      ApplyLogReply(reply, HisCall, Report);
      ++replies;
    };
  }
};

LogContact Q1abc() {
  return {"Q1ABC", 599};
}

bool SameBox(const std::optional<LogMessageBox>& shown, const LogMessageBox& expected) {
  return shown && shown->text == expected.text && shown->caption == expected.caption &&
         shown->icon == expected.icon;
}

// A logging program that records what it takes and answers with `result`.
struct RecordingLogProgram {
  RecordingLogProgram(const std::string& address, std::uint64_t result)
      : server(RecordServer::Listen(address,
                                    [this, result](const CopyDataRecord& record) {
                                      log.Add(record);
                                      return result;
                                    })),
        thread(server->Fd(), [this] { server->HandleReadable(); }) {}
  RecordLog log;
  std::unique_ptr<RecordServer> server;
  ServingThread thread;
};

class LogLinkTest : public LinkTest {};

TEST_F(LogLinkTest, AbsentLogProgramIsNotFoundAndNothingIsRead) {
  Boxes boxes;
  LogLink link(boxes.Handler());
  bool controlsRead = false;
  LogOutcome sent = link.SendToLog([&] {
    controlsRead = true;
    return Q1abc();
  });
  EXPECT_TRUE(SameBox(sent.messageBox, kLogProgramNotFound));
  EXPECT_EQ(sent.messageBox->icon, MessageIcon::kExclamation);
  EXPECT_EQ(sent.messageBox->caption, "ハムログコントロール");
  EXPECT_FALSE(controlsRead);
  EXPECT_TRUE(SameBox(link.FetchFromLog().messageBox, kLogProgramNotFound));
  EXPECT_EQ(link.CopyDataSend(kCopyDataSendId, "x"), std::nullopt);
}

TEST_F(LogLinkTest, SocketLeftByAGoneLogProgramIsNotFound) {
  UniqueFd gone = ListenAt(LogProgramPath());
  ASSERT_TRUE(gone);
  gone.Reset();
  Boxes boxes;
  LogLink link(boxes.Handler());
  EXPECT_TRUE(SameBox(link.FetchFromLog().messageBox, kLogProgramNotFound));
}

TEST_F(LogLinkTest, F11SendsTheTextAndNamesTheWindowToRaise) {
  RecordingLogProgram logProgram(LogProgramPath(), 0x5A00123);
  Boxes boxes;
  LogLink link(boxes.Handler());
  LogOutcome outcome = link.SendToLog(Q1abc);
  EXPECT_FALSE(outcome.messageBox);
  EXPECT_EQ(outcome.foregroundWindow, 0x5A00123u);
  std::vector<CopyDataRecord> records = logProgram.log.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].identifier, 0x3000Fu);
  EXPECT_EQ(records[0].bytes, "\nQ1ABC\n\n\n599\n\n\nCW");
  EXPECT_EQ(records[0].replyAddress, link.ReplyAddress());
  EXPECT_EQ(records[0].replyAddress.rfind(dir_ + "/vantrel-", 0), 0u);
}

TEST_F(LogLinkTest, F11WithAnEmptyCallsignSendsTwelveBytes) {
  RecordingLogProgram logProgram(LogProgramPath(), 1);
  Boxes boxes;
  LogLink link(boxes.Handler());
  link.SendToLog([] { return LogContact{"", 599}; });
  ASSERT_EQ(logProgram.log.Records().size(), 1u);
  EXPECT_EQ(logProgram.log.Records()[0].bytes, "\n\n\n\n599\n\n\nCW");
}

TEST_F(LogLinkTest, RefusalShowsInvalidCommandAndChangesNothing) {
  RecordingLogProgram logProgram(LogProgramPath(), 0);
  Boxes boxes;
  LogLink link(boxes.Handler());
  LogOutcome sent = link.SendToLog(Q1abc);
  EXPECT_TRUE(SameBox(sent.messageBox, kInvalidCommand));
  EXPECT_EQ(sent.messageBox->icon, MessageIcon::kError);
  EXPECT_EQ(sent.foregroundWindow, 0u);
  EXPECT_TRUE(SameBox(link.FetchFromLog().messageBox, kInvalidCommand));
  EXPECT_EQ(link.CopyDataSend(0x73, ""), std::optional<std::uint64_t>(0));
  EXPECT_EQ(boxes.HisCall, "OLD");
  EXPECT_EQ(boxes.Report, 599);
}

TEST_F(LogLinkTest, F12SendsTheRequestWithoutData) {
  RecordingLogProgram logProgram(LogProgramPath(), 7);
  Boxes boxes;
  LogLink link(boxes.Handler());
  EXPECT_FALSE(link.FetchFromLog().messageBox);
  std::vector<CopyDataRecord> records = logProgram.log.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].identifier, 0x73u);
  EXPECT_EQ(records[0].bytes, "");
  EXPECT_EQ(records[0].replyAddress, link.ReplyAddress());
}

// The exact bytes of an F11 message, as a logging program written from the documentation
// reads them.
TEST_F(LogLinkTest, F11PutsExactlyTheseBytesOnTheSocket) {
  UniqueFd listener = ListenAt(LogProgramPath());
  Boxes boxes;
  LogLink link(boxes.Handler());
  std::string address = link.ReplyAddress();
  std::string expected = "CPYD\x01\x00"s + static_cast<char>(address.size()) + "\x00"s +
                         "\x0F\x00\x03\x00\x00\x00\x00\x00"s + "\x11\x00\x00\x00"s + address +
                         "\nQ1ABC\n\n\n599\n\n\nCW";
  auto logProgram = std::async(std::launch::async, [&] {
    UniqueFd connection(::accept(listener.get(), nullptr, nullptr));
    std::string received(expected.size(), '\0');
    ::recv(connection.get(), received.data(), received.size(), MSG_WAITALL);
    ::send(connection.get(), "\x2A\0\0\0\0\0\0\x01", 8, MSG_NOSIGNAL);
    return received;
  });
  LogOutcome outcome = link.SendToLog(Q1abc);
  EXPECT_EQ(logProgram.get(), expected);
  EXPECT_EQ(outcome.foregroundWindow, 0x010000000000002Au);
}

TEST_F(LogLinkTest, SilentLogProgramCountsAsRefusal) {
  UniqueFd listener = ListenAt(LogProgramPath());
  Boxes boxes;
  LogLink link(boxes.Handler(), {.answerTimeout = 30ms});
  EXPECT_TRUE(SameBox(link.SendToLog(Q1abc).messageBox, kInvalidCommand));
  EXPECT_TRUE(SameBox(link.FetchFromLog().messageBox, kInvalidCommand));
}

TEST_F(LogLinkTest, LogProgramOfAnotherUserIsNotFound) {
  RecordingLogProgram logProgram(LogProgramPath(), 1);
  Boxes boxes;
  uid_t seen = 12345;
  LogLink link(boxes.Handler(), {.peerCheck = [&](uid_t peer) {
                 seen = peer;
                 return false;
               }});
  EXPECT_TRUE(SameBox(link.FetchFromLog().messageBox, kLogProgramNotFound));
  EXPECT_EQ(seen, ::geteuid());
  EXPECT_TRUE(logProgram.log.Records().empty());
}

TEST_F(LogLinkTest, ReplyWhileTheRequestIsInProgress) {
  std::ostringstream printed;
  std::unique_ptr<LogStub> stub = LogStub::Listen(LogProgramPath(), {}, printed);
  ASSERT_TRUE(stub);
  Boxes boxes;
  LogLink link(boxes.Handler());
  {
    ServingThread serving(stub->Fd(), [&] { stub->HandleReadable(); });
    EXPECT_FALSE(link.FetchFromLog().messageBox);
    EXPECT_EQ(boxes.replies, 1);
  }
  EXPECT_EQ(boxes.HisCall, "Q1ABC");
  EXPECT_EQ(boxes.Report, 579);
  EXPECT_NE(printed.str().find("record 0x73, 0 bytes: \"\""), std::string::npos);
  EXPECT_NE(printed.str().find("reply \"Q1ABC x y 579\" to " + link.ReplyAddress() + ": result 1"),
            std::string::npos);
}

TEST_F(LogLinkTest, ReplyAfterTheRequestWasAnswered) {
  RecordingLogProgram logProgram(LogProgramPath(), 1);
  Boxes boxes;
  LogLink link(boxes.Handler());
  ASSERT_FALSE(link.FetchFromLog().messageBox);
  EXPECT_EQ(boxes.replies, 0);
  std::string replyAddress = logProgram.log.Records().at(0).replyAddress;
  auto late = std::async(std::launch::async, [&] {
    std::optional<RecordConnection> vantrel = RecordConnection::Open(replyAddress);
    return vantrel ? vantrel->Exchange({0, "\nJA1ZZZ\n-\n-\n559\n", ""}, 10s) : 0;
  });
  ASSERT_TRUE(ServeUntil(
      link.Fd(), [&] { link.HandleReadable(); }, [&] { return boxes.replies == 1; }));
  EXPECT_EQ(late.get(), 1u);
  EXPECT_EQ(boxes.HisCall, "JA1ZZZ");
  EXPECT_EQ(boxes.Report, 559);
}

TEST_F(LogLinkTest, StubRepliesAfterAnsweringWhenAsked) {
  std::ostringstream printed;
  std::unique_ptr<LogStub> stub = LogStub::Listen(
      LogProgramPath(), {.reply = "K9XYZ a b 449", .timing = ReplyTiming::kAfter}, printed);
  ASSERT_TRUE(stub);
  Boxes boxes;
  LogLink link(boxes.Handler());
  ServingThread serving(stub->Fd(), [&] { stub->HandleReadable(); });
  ASSERT_FALSE(link.FetchFromLog().messageBox);
  ASSERT_TRUE(ServeUntil(
      link.Fd(), [&] { link.HandleReadable(); }, [&] { return boxes.replies == 1; }));
  EXPECT_EQ(boxes.HisCall, "K9XYZ");
  EXPECT_EQ(boxes.Report, 449);
}

TEST_F(LogLinkTest, ReplySocketGoesWithTheLink) {
  std::string address;
  {
    Boxes boxes;
    LogLink link(boxes.Handler());
    address = link.ReplyAddress();
    struct stat info {};
    ASSERT_EQ(::stat(address.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
  }
  EXPECT_FALSE(std::filesystem::exists(address));
}

}  // namespace
}  // namespace vantrel::loglink
