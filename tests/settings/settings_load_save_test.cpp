#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

TEST(LoadSettings, TheFileIsReadEachTimeAndBankAComesFromTheFieldsWithoutIt) {
  TempDir dir;
  Settings s;
  s.WPM = 33;
  s.MessageFields[0] = "edited";
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.FnMsgA[0], "edited");
  EXPECT_EQ(s.FnMsgA[9], kDefaultBankA[9]);
  EXPECT_EQ(s.FnMsgB, MessageBank{});
  EXPECT_EQ(s.WPM, 33);
  dir.Write("Vantrel.cfg", "Vantrel.cfg\r\nFnMsgA01 \x83\x65\r\nWPM 24\r\n");
  LoadSettings(s, dir.path());
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
