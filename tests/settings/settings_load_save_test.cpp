#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

TEST(LoadSettings, MissingFileFillsBankAFromMessageFieldsOnly) {
  TempDir dir;
  Settings s;
  s.WPM = 33;
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.FnMsgA, kDefaultBankA);
  EXPECT_EQ(s.FnMsgB, MessageBank{});
  EXPECT_EQ(s.WPM, 33);

  s.MessageFields[0] = "edited";
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.FnMsgA[0], "edited");
}

TEST(LoadSettings, FileWithoutBankALinesLeavesBankAEmpty) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "Vantrel.cfg\nWPM 25\n");
  Settings s;
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.FnMsgA, MessageBank{});
  EXPECT_EQ(s.WPM, 25);
}

TEST(LoadSettings, WindowsFileWithCrLfLoadsUnchanged) {
  TempDir dir;
  dir.Write("Vantrel.cfg",
            "Vantrel.cfg\r\nFnMsgA01 CQ \x83\x65\x83\x58\x83\x67\r\nFnMsgA02 \r\n"
            "SideToneFreqIf \x82\xC8\x82\xB5\r\nWPM 24\r\n");
  Settings s;
  s.FnMsgA[1] = "x";
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.FnMsgA[0], "CQ \x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(s.FnMsgA[1], "");
  EXPECT_EQ(s.SideToneFreqIfIndex, 0);
  EXPECT_EQ(s.WPM, 24);
}

TEST(LoadSettings, SecondLoadRestoresWhatTheFileHolds) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "WPM 25\nMyCALL JA1\n");
  Settings s;
  LoadSettings(s, dir.path());
  s.WPM = 40;
  s.MyCALL = "other";
  s.Number = "999";
  LoadSettings(s, dir.path());
  EXPECT_EQ(s.WPM, 25);
  EXPECT_EQ(s.MyCALL, "JA1");
  EXPECT_EQ(s.Number, "999");
}

TEST(SaveSettings, WritesTheFileAndLeavesNoTemporary) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "old");
  Settings s;
  s.WPM = 27;
  ASSERT_TRUE(SaveSettings(s, dir.path()));
  EXPECT_EQ(dir.Read("Vantrel.cfg"), FormatSettings(s));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Vantrel.cfg.tmp"));
  Settings back;
  LoadSettings(back, dir.path());
  EXPECT_EQ(back.WPM, 27);
}

TEST(SaveSettings, EmptyDirectoryMeansTheWorkingDirectory) {
  TempDir dir;
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  bool saved = SaveSettings(Settings{});
  std::filesystem::current_path(previous);
  ASSERT_TRUE(saved);
  EXPECT_EQ(dir.Read("Vantrel.cfg"), FormatSettings(Settings{}));
}

enum class Fault { kOpen, kShortWrite, kWriteError, kFsync, kClose, kRename };

// Real file operations with one of them failing.
class FailingOps : public PosixFileOps {
 public:
  explicit FailingOps(Fault fault) : fault_(fault) {}
  int Open(const std::string& path, int flags, mode_t mode) override {
    if (fault_ == Fault::kOpen) return Fail(EACCES);
    return PosixFileOps::Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    if (fault_ == Fault::kShortWrite) {
      // Part of the file goes out, then the disk is full.
      if (written_) return Fail(ENOSPC);
      written_ = true;
      return PosixFileOps::Write(fd, data, size / 2);
    }
    if (fault_ == Fault::kWriteError) return Fail(EIO);
    return PosixFileOps::Write(fd, data, size);
  }
  int Fsync(int fd) override {
    return fault_ == Fault::kFsync ? Fail(EIO) : PosixFileOps::Fsync(fd);
  }
  int Close(int fd) override {
    int rc = PosixFileOps::Close(fd);
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
  bool written_ = false;
};

void PrintTo(Fault fault, std::ostream* os) {
  static const char* const kNames[] = {"open",  "short write", "write error",
                                       "fsync", "close",       "rename"};
  *os << kNames[static_cast<int>(fault)];
}

class SaveFailure : public testing::TestWithParam<Fault> {};

TEST_P(SaveFailure, ReportsFailureAndKeepsTheOldFileByteForByte) {
  TempDir dir;
  const std::string old = "Vantrel.cfg\r\nWPM 22\r\nFnMsgA01 \x82\xA0\r\n";
  dir.Write("Vantrel.cfg", old);
  Settings s;
  s.WPM = 45;
  FailingOps ops(GetParam());
  EXPECT_FALSE(SaveSettings(s, dir.path(), ops));
  EXPECT_EQ(dir.Read("Vantrel.cfg"), old);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Vantrel.cfg.tmp"));
  EXPECT_EQ(s.WPM, 45);
}

INSTANTIATE_TEST_SUITE_P(SaveSettings, SaveFailure,
                         testing::Values(Fault::kOpen, Fault::kShortWrite, Fault::kWriteError,
                                         Fault::kFsync, Fault::kClose, Fault::kRename));

TEST(SaveSettings, TemporaryThatCannotBeCreatedKeepsTheOldFile) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "old");
  std::filesystem::create_directory(dir.path() / "Vantrel.cfg.tmp");
  EXPECT_FALSE(SaveSettings(Settings{}, dir.path()));
  EXPECT_EQ(dir.Read("Vantrel.cfg"), "old");
}

TEST(SaveSettings, ReadOnlyDirectoryKeepsTheOldFile) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "old");
  std::filesystem::permissions(
      dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (access(dir.path().c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
  EXPECT_FALSE(SaveSettings(Settings{}, dir.path()));
  EXPECT_EQ(dir.Read("Vantrel.cfg"), "old");
}

TEST(SaveSettings, MissingDirectoryFails) {
  TempDir dir;
  EXPECT_FALSE(SaveSettings(Settings{}, dir.path() / "absent"));
}

}  // namespace
}  // namespace vantrel::settings
