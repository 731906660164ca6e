#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "settings/data_table.h"
#include "settings/number_text.h"
#include "settings/profile_file.h"
#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

std::string DataFile(const char* name) {
  std::ifstream in(std::string(VANTREL_SETTINGS_DATA_DIR "/") + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Settings Read(const std::string& text, Settings settings = {}) {
  std::istringstream in(text);
  ReadSettings(settings, in);
  return settings;
}

// The two files differ in every value, so each key is written and read back in its own format.
TEST(SettingsFile, WritesTheFixedFileAndReadsItBack) {
  EXPECT_EQ(FormatSettings(Settings{}), DataFile("default.cfg"));
  EXPECT_EQ(Read(DataFile("default.cfg")), Settings{});
  const Settings every = Read(DataFile("every_value.cfg"));
  EXPECT_EQ(FormatSettings(every), DataFile("every_value.cfg"));
  EXPECT_EQ(every.SideToneFreqIfIndex, 0);
  EXPECT_EQ(every.FnMsgB[9], "  two blanks");
  EXPECT_EQ(every.CqLoopInterval, 12.25f);
}

TEST(ReadSettings, EachLineIsTakenOverAsItsKeyRuleSays) {
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/read_lines.txt")) {
    SCOPED_TRACE(row[0]);
    const Settings s = Read(row[0]);
    std::istringstream wanted(row[1]);
    for (std::string line; std::getline(wanted, line);)
      EXPECT_NE(("\n" + FormatSettings(s)).find("\n" + line + "\n"), std::string::npos) << line;
    if (row.size() > 2) {
      EXPECT_EQ(s.SideToneFreqIfIndex, std::stoi(row[2]));
    }
  }
  EXPECT_EQ(Read("Vantrel.cfg\nFoo 1\n\n   \n\t\nWPMX 30\n"), Settings{});
  Settings before;
  before.MyCALL = "JA1";
  EXPECT_EQ(Read("WPM 40\n", before).MyCALL, "JA1");
}

TEST(ReadSettings, LongLinesAreKeptWholeAndTheirTailIsNeverAKey) {
  Settings s;
  s.FnMsgA[0] = std::string(246, 'A') + " WPM 5 abZ";
  Settings back = Read(FormatSettings(s));
  EXPECT_EQ(back.FnMsgA[0], s.FnMsgA[0]);
  EXPECT_EQ(back.WPM, 20);
  const std::string huge(3 << 20, 'x');
  back = Read("FnMsgB02 " + huge + "\nWPM 31\n");
  EXPECT_EQ(back.FnMsgB[1], huge);
  EXPECT_EQ(back.WPM, 31);
}

TEST(NumberText, FieldTextMustBeOneWholeNumber) {
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/number_texts.txt")) {
    SCOPED_TRACE(row[0]);
    EXPECT_EQ(ParseDecimal(row[0]),
              row[1] == "-" ? std::nullopt : std::optional(std::stod(row[1])));
    EXPECT_EQ(ParseUnsigned(row[0]),
              row[2] == "-" ? std::nullopt : std::optional(std::stoul(row[2])));
  }
}

TEST(NumberText, ShortFormAndSixDecimalsIgnoreTheProcessLocale) {
  const char* changed = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(LeadingDecimal("2.5"), 2.5);
  EXPECT_EQ(ParseDecimal("2.5"), 2.5);
  EXPECT_EQ(FormatSixDecimals(2.5), "2.500000");
  const std::pair<double, const char*> shown[] = {
      {5.0, "5"}, {0.5, "0.5"}, {0.1f, "0.1"}, {1.0 / 3.0, "0.333333"}, {12.25, "12.25"}};
  for (const auto& [value, text] : shown) EXPECT_EQ(FormatShortDecimal(value), text);
  if (changed) std::setlocale(LC_NUMERIC, "C");
}

TEST(ProfileFile, ReadsTheKeyOfItsSectionAndWritesOnlyThatKey) {
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/profile_reads.txt")) {
    SCOPED_TRACE(row[0]);
    TempDir dir;
    dir.Write("p.ini", row[0]);
    EXPECT_EQ(ProfileFile(dir.path() / "p.ini").GetString("Window", "Size", "fallback"), row[1]);
  }
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/profile_writes.txt")) {
    SCOPED_TRACE(row[0]);
    TempDir dir;
    if (!row[0].empty()) dir.Write("p.ini", row[0]);
    ASSERT_TRUE(ProfileFile(dir.path() / "p.ini").WriteString("Window", "Top", "1"));
    EXPECT_EQ(dir.Read("p.ini"), row[1]);
  }
  EXPECT_FALSE(ProfileFile("/nonexistent-folder/p.ini").WriteString("Window", "Top", "1"));
  TempDir dir;
  dir.Write("p.ini", "[Window]\nTop=1\nBad=x\n");
  ProfileFile profile(dir.path() / "p.ini");
  EXPECT_EQ(profile.GetInt("Window", "Top", 0), 1);
  EXPECT_EQ(profile.GetInt("Window", "Bad", 7), 0);
  EXPECT_EQ(profile.GetInt("Window", "None", 7), 7);
  EXPECT_EQ(ProfileFile(dir.path() / "missing.ini").GetInt("Window", "Top", 5), 5);
}

TEST(LoadSettings, TheFileIsReadEachTimeAndBankAComesFromTheFieldsWithoutIt) {
  TempDir dir;
  Settings s;
  s.MessageFields[0] = "edited";
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.FnMsgA[0], "edited");
  EXPECT_EQ(s.FnMsgA[9], kDefaultBankA[9]);
  dir.Write("Vantrel.cfg", "Vantrel.cfg\r\nFnMsgA01 \x83\x65\r\nWPM 24\r\n");
  s.WPM = 40;
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.FnMsgA[0], "\x83\x65");
  EXPECT_EQ(s.FnMsgA[1], kDefaultBankA[1]);
  EXPECT_EQ(s.WPM, 24);
}

TEST(SaveSettings, WritesTheFileInTheGivenOrWorkingDirectory) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "old");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const bool saved = SaveSettings(Settings{});
  std::filesystem::current_path(previous);
  ASSERT_TRUE(saved);
  EXPECT_EQ(dir.Read("Vantrel.cfg"), FormatSettings(Settings{}));
  EXPECT_FALSE(SaveSettings(Settings{}, dir.path() / "absent"));
}

enum class Fault { kInterrupted, kOpen, kShortWrite, kWriteError, kFsync, kClose, kRename };

// Real file operations with one of them failing.
class FailingOps : public PosixFileOps {
 public:
  explicit FailingOps(Fault fault) : fault_(fault) {}
  int Open(const std::string& path, int flags, mode_t mode) override {
    return fault_ == Fault::kOpen ? Fail(EACCES) : PosixFileOps::Open(path, flags, mode);
  }
  // A short write puts part of the file out, then the disk is full.
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    const bool first = std::exchange(first_, false);
    if (fault_ == Fault::kInterrupted && first) return Fail(EINTR);
    if (fault_ == Fault::kShortWrite)
      return first ? PosixFileOps::Write(fd, data, size / 2) : Fail(ENOSPC);
    return fault_ == Fault::kWriteError ? Fail(EIO) : PosixFileOps::Write(fd, data, size);
  }
  int Fsync(int fd) override {
    return fault_ == Fault::kFsync ? Fail(EIO) : PosixFileOps::Fsync(fd);
  }
  int Close(int fd) override {
    const int rc = PosixFileOps::Close(fd);
    return fault_ == Fault::kClose ? Fail(EIO) : rc;
  }
  int Rename(const std::string& from, const std::string& to) override {
    return fault_ == Fault::kRename ? Fail(EXDEV) : PosixFileOps::Rename(from, to);
  }

 private:
  static int Fail(int error) {
    errno = error;
    return -1;
  }
  Fault fault_;
  bool first_ = true;
};

TEST(SaveSettings, AFailedStepKeepsTheOldFileByteForByte) {
  const std::string old = "Vantrel.cfg\r\nWPM 22\r\nFnMsgA01 \x82\xA0\r\n";
  Settings s;
  s.WPM = 45;
  for (Fault fault : {Fault::kInterrupted, Fault::kOpen, Fault::kShortWrite, Fault::kWriteError,
                      Fault::kFsync, Fault::kClose, Fault::kRename}) {
    SCOPED_TRACE(static_cast<int>(fault));
    TempDir dir;
    dir.Write("Vantrel.cfg", old);
    FailingOps ops(fault);
    const bool retried = fault == Fault::kInterrupted;
    EXPECT_EQ(SaveSettings(s, dir.path(), ops), retried);
    EXPECT_EQ(dir.Read("Vantrel.cfg"), retried ? FormatSettings(s) : old);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Vantrel.cfg.tmp"));
  }
}

// A saving process killed at any moment leaves the old file or the new one, never a torn one.
TEST(SaveSettings, KilledSaveLeavesTheOldOrTheNewFile) {
  TempDir dir;
  Settings first;
  Settings second;
  second.WPM = 30;
  for (int i = 0; i < kMessageCount; ++i) {
    first.FnMsgA[i] = std::string(256, 'A');
    second.FnMsgB[i] = std::string(200, 'B');
  }
  ASSERT_TRUE(SaveSettings(first, dir.path()));
  const std::string firstBytes = FormatSettings(first);
  const std::string secondBytes = FormatSettings(second);
  std::mt19937 random(20261206);
  for (int trial = 0; trial < 200; ++trial) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned i = 0;; ++i) SaveSettings(i % 2 ? first : second, dir.path());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string bytes = dir.Read(kSettingsFileName);
    ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes) << "trial " << trial;
  }
}

}  // namespace
}  // namespace vantrel::settings
