#include "loglink/hamlog_wine_route.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/relay_protocol.h"
#include "settings/data_table.h"
#include "support/temp_dir.h"

namespace vantrel::loglink {
namespace {

using namespace std::chrono_literals;

const std::string kNotFound = "Turbo HAMLOGが見つかりません";

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
  int line = 0;
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/replies.txt")) {
    SCOPED_TRACE(++line);
    std::string hisCall = "OLD";
    int report = 599;
    ApplyLogReply(ParseLogReply(row[0]), hisCall, report);
    EXPECT_EQ(hisCall, row[1]);
    EXPECT_EQ(report, std::stoi(row[2]));
  }
}

// The record itself as the relay gets it: in the route's test below.
TEST(RelayProtocol, SendLineCarriesTheBytesInHex) {
  EXPECT_EQ(RelaySendLine("\x82\xA0"), "send 82a0\n");
  EXPECT_EQ(RelaySendLine(""), "send \n");
}

TEST(RelayProtocol, LinesFromTheRelayReadAsTheyAreMeantOrNotAtAll) {
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

std::string BoxText(const LogOutcome& outcome) {
  return outcome.messageBox ? std::string(outcome.messageBox->text) : "";
}

// Until the killed process has become a zombie, which its parent has not yet reaped.
void WaitUntilDead(pid_t pid) {
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
  std::string Send(bool* controlsRead = nullptr) {
    return BoxText(route_->SendToLog([controlsRead] {
      if (controlsRead) *controlsRead = true;
      return LogContact{"Q1ABC", 599};
    }));
  }
  std::string Fetch() { return BoxText(route_->FetchFromLog()); }

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
  ASSERT_EQ(::kill(Pids().at(0), SIGKILL), 0);
  WaitUntilDead(Pids().at(0));
  EXPECT_EQ(Send(), "");
  EXPECT_EQ(Pids().size(), 2u);

  dir_.Write("relay.exe", "hang");
  ASSERT_EQ(::kill(Pids().at(1), SIGKILL), 0);
  WaitUntilDead(Pids().at(1));
  EXPECT_EQ(Send(), kNotFound);
  EXPECT_NE(::kill(Pids().at(2), 0), 0) << "the hung relay is still there";
  dir_.Write("relay.exe", "accept");
  EXPECT_EQ(Fetch(), "");
  EXPECT_EQ(Pids().size(), 4u);
}

}  // namespace
}  // namespace vantrel::loglink
