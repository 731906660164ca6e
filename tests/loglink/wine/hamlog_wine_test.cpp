// The operating window against a Win32 stand-in for Turbo HAMLOG in a real Wine prefix,
// through the real relay: run by run-wine-stage, which makes the prefix and names it in
// VANTREL_WINE_PREFIX.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "loglink/line_process.h"
#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

using namespace std::chrono_literals;

const char* const kPrefix = std::getenv("VANTREL_WINE_PREFIX");

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

std::string WindowsPath(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// The stand-in running in the prefix, noting what it gets in a file, until destroyed.
class StandIn {
 public:
  StandIn(const settings::TempDir& dir, std::vector<std::string> options = {})
      : records_(dir.path() / "records.txt") {
    std::filesystem::remove(records_);
    std::vector<std::string> argv = {"wine", VANTREL_STANDIN, WindowsPath(records_)};
    argv.insert(argv.end(), options.begin(), options.end());
    std::string error;
    process_ = loglink::LineProcess::Start(
        {argv, {std::string("WINEPREFIX=") + kPrefix, "WINEDEBUG=-all"}, false, 0ms},
        [](std::string_view) {}, error);
    EXPECT_TRUE(process_) << error;
    EXPECT_TRUE(QTest::qWaitFor([this] { return Records().starts_with("ready\n"); }, 60000));
  }
  // Each record as "record <identifier> <bytes>" in hex, after the "ready" line.
  std::string Records() const { return ReadFile(records_); }

 private:
  std::filesystem::path records_;
  std::unique_ptr<loglink::LineProcess> process_;
};

class HamlogWine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(kPrefix, nullptr) << "VANTREL_WINE_PREFIX is not set"; }
  // The window with the link to Turbo HAMLOG in the prefix, run with `wine` unless told.
  void Open(const std::string& wine = "wine") {
    rig.dir.Write("Vantrel.ini",
                  "[LogLink]\r\nWine=" + wine + "\r\nWinePrefix=" + kPrefix + "\r\n");
    rig.Open();
  }
  void ExpectOneBox(const loglink::LogMessageBox& expected) {
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_EQ(rig.messages[0].text, expected.text);
    EXPECT_EQ(rig.messages[0].caption, "ハムログコントロール");
    EXPECT_EQ(rig.messages[0].icon, expected.icon);
    rig.messages.clear();
  }

  SimWindowRig rig{23};
};

TEST_F(HamlogWine, F11HandsTheExactRecordOverAndF12FillsTheBoxesFromTheReply) {
  StandIn standIn(rig.dir);
  Open();
  rig.TypeOver(kIdHisCall, "Q1ABC");
  rig.Key(Qt::Key_F11);
  rig.TypeOver(kIdHisCall, "");
  rig.Key(Qt::Key_F11);
  rig.TypeOver(kIdHisCall, "JA1ZZZ");
  rig.FocusInput();
  rig.Key(Qt::Key_F12);
  EXPECT_TRUE(QTest::qWaitFor([&] { return rig.Edit(kIdHisCall)->text() == "Q1ABC"; }, 5000));
  EXPECT_EQ(rig.Edit(kIdReport)->text(), "579");
  EXPECT_EQ(standIn.Records(),
            "ready\n"
            "record 3000f 0a51314142430a0a0a3539390a0a0a4357\n"
            "record 3000f 0a0a0a0a3539390a0a0a4357\n"
            "record 73 \n");
  EXPECT_TRUE(rig.messages.empty());
}

TEST_F(HamlogWine, ARefusalOrNoTurboHamlogGivesOneBoxPerPress) {
  Open();
  rig.Key(Qt::Key_F11);
  ExpectOneBox(loglink::kLogProgramNotFound);
  rig.Key(Qt::Key_F12);
  ExpectOneBox(loglink::kLogProgramNotFound);
  StandIn refusing(rig.dir, {"--refuse"});
  rig.Key(Qt::Key_F11);
  ExpectOneBox(loglink::kInvalidCommand);
  rig.Key(Qt::Key_F12);
  ExpectOneBox(loglink::kInvalidCommand);
  EXPECT_EQ(refusing.Records(), "ready\nrecord 3000f 0a0a0a0a3539390a0a0a4357\nrecord 73 \n");
}

// The relay is Vantrel's child, running the relay program under Wine.
std::vector<pid_t> RelayPids() {
  std::vector<pid_t> pids;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string stat = ReadFile(entry.path() / "stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    char state = 0;
    pid_t parent = 0;
    fields >> state >> parent;
    if (parent == ::getpid() && state != 'Z' &&
        ReadFile(entry.path() / "cmdline").find("vantrel-hamlog-relay.exe") != std::string::npos) {
      pids.push_back(std::stoi(name));
    }
  }
  return pids;
}

TEST_F(HamlogWine, AKilledRelayIsStartedAgainOnTheNextPress) {
  StandIn standIn(rig.dir);
  Open();
  rig.Key(Qt::Key_F11);
  const std::vector<pid_t> first = RelayPids();
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(::kill(first[0], SIGKILL), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return RelayPids().empty(); }, 5000));
  rig.Key(Qt::Key_F11);
  EXPECT_EQ(RelayPids().size(), 1u);
  EXPECT_NE(RelayPids(), first);
  EXPECT_EQ(standIn.Records(),
            "ready\n"
            "record 3000f 0a0a0a0a3539390a0a0a4357\n"
            "record 3000f 0a0a0a0a3539390a0a0a4357\n");
  EXPECT_TRUE(rig.messages.empty());
}

// Wine that is not there, or that never gets the relay going, costs at most the bound.
TEST_F(HamlogWine, MissingOrHungWineGivesTheNotFoundBox) {
  rig.dir.Write("hung-wine", "#!/bin/sh\nexec sleep 30\n");
  std::filesystem::permissions(rig.dir.path() / "hung-wine", std::filesystem::perms::owner_all);
  for (const std::string& wine :
       {(rig.dir.path() / "no-wine").string(), (rig.dir.path() / "hung-wine").string()}) {
    SCOPED_TRACE(wine);
    rig.window.reset();
    Open(wine);
    rig.Key(Qt::Key_F11);
    ExpectOneBox(loglink::kLogProgramNotFound);
  }
}

}  // namespace
}  // namespace vantrel::ui::rig
