// The operating window against a Win32 stand-in for Turbo HAMLOG in a real Wine prefix,
// through the real relay: run by run-wine-stage, which makes the prefix and names it in
// VANTREL_WINE_PREFIX.
#include <gtest/gtest.h>

#include <cstdlib>

#include "loglink/line_process.h"
#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

using namespace std::chrono_literals;

const char* const kPrefix = std::getenv("VANTREL_WINE_PREFIX");

std::string WindowsPath(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// The stand-in running in the prefix, noting what it gets in a file, until destroyed.
class StandIn {
 public:
  StandIn(const settings::TempDir& dir, std::vector<std::string> options = {}) : dir_(dir) {
    std::vector<std::string> argv = {"wine", VANTREL_STANDIN,
                                     WindowsPath(dir.path() / "records.txt")};
    argv.insert(argv.end(), options.begin(), options.end());
    std::string error;
    process_ = loglink::LineProcess::Start(
        {argv, {std::string("WINEPREFIX=") + kPrefix, "WINEDEBUG=-all"}, false, 0ms},
        [](std::string_view) {}, error);
    EXPECT_TRUE(process_) << error;
    EXPECT_TRUE(QTest::qWaitFor([this] { return Records().starts_with("ready\n"); }, 60000));
  }
  // Each record as "record <identifier> <bytes>" in hex, after the "ready" line.
  std::string Records() const { return dir_.Read("records.txt"); }

 private:
  const settings::TempDir& dir_;
  std::unique_ptr<loglink::LineProcess> process_;
};

class HamlogWine : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(kPrefix, nullptr) << "VANTREL_WINE_PREFIX is not set"; }
  void Open() {
    rig.dir.Write("Vantrel.ini", std::string("[LogLink]\r\nWinePrefix=") + kPrefix + "\r\n");
    rig.Open();
  }
  void ExpectOneBoxAt(Qt::Key key, const loglink::LogMessageBox& expected) {
    rig.Key(key);
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
  ExpectOneBoxAt(Qt::Key_F11, loglink::kLogProgramNotFound);
  ExpectOneBoxAt(Qt::Key_F12, loglink::kLogProgramNotFound);
  StandIn refusing(rig.dir, {"--refuse"});
  ExpectOneBoxAt(Qt::Key_F11, loglink::kInvalidCommand);
  ExpectOneBoxAt(Qt::Key_F12, loglink::kInvalidCommand);
  EXPECT_EQ(refusing.Records(), "ready\nrecord 3000f 0a0a0a0a3539390a0a0a4357\nrecord 73 \n");
}

}  // namespace
}  // namespace vantrel::ui::rig
