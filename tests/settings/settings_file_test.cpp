#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "settings/data_table.h"
#include "settings/log_link_profile.h"
#include "settings/number_text.h"
#include "settings/profile_file.h"
#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

std::string DataFile(const char* name) {
  std::ifstream in(std::string(VANTREL_SETTINGS_DATA_DIR "/") + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Settings Read(const std::string& text) {
  Settings settings;
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
  const std::string huge(3 << 20, 'x');
  const Settings back = Read("FnMsgB02 " + huge + "\nWPM 31\n");
  EXPECT_EQ(back.FnMsgB[1], huge);
  EXPECT_EQ(back.WPM, 31);
}

// The settings file's numbers are the same whatever the process locale: these run under one
// whose decimal point is a comma.
TEST(NumberText, FieldTextMustBeOneWholeNumberAndDecimalsShowShort) {
  ::setenv("LOCPATH", VANTREL_TEST_LOCALE_DIR, 1);
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
  ::unsetenv("LOCPATH");
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/number_texts.txt")) {
    SCOPED_TRACE(row[0]);
    double number = 0;
    std::from_chars(row[1].data(), row[1].data() + row[1].size(), number);
    EXPECT_EQ(ParseDecimal(row[0]), row[1] == "-" ? std::nullopt : std::optional(number));
    EXPECT_EQ(ParseUnsigned(row[0]),
              row[2] == "-" ? std::nullopt : std::optional(std::stoul(row[2])));
    if (row.size() > 3) {
      EXPECT_EQ(FormatShortDecimal(static_cast<float>(number)), row[3]);
    }
  }
  std::setlocale(LC_NUMERIC, "C");
}

TEST(ProfileFile, ReadsTheKeyOfItsSectionWritesOnlyThatKeyAndTheLinkSectionAsRead) {
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
  // The link's section: Turbo HAMLOG under Wine unless it says otherwise, anything unknown as the
  // default; what is read is written back.
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/log_link_profiles.txt")) {
    SCOPED_TRACE(row[0]);
    TempDir dir;
    dir.Write("read.ini", row[0]);
    const auto read = LoadLogLinkSettings(ProfileFile(dir.path() / "read.ini"));
    ASSERT_TRUE(SaveLogLinkSettings(ProfileFile(dir.path() / "written.ini"), read));
    EXPECT_EQ(dir.Read("written.ini"), row[1]);
  }
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

// Real file operations with the named one failing (a failed open is in the setup dialog's test).
// A short write puts part of the file out, then the disk is full; a write loop that never ends
// runs into that bound instead of filling the disk.
class FailingOps : public PosixFileOps {
 public:
  explicit FailingOps(std::string fault) : fault_(std::move(fault)) {}
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    const bool first = writes_++ == 0;
    if (writes_ > 100 || (!first && fault_ == "short")) return Fail(ENOSPC);
    if (first && fault_ == "interrupted") return Fail(EINTR);
    return PosixFileOps::Write(fd, data, fault_ == "short" ? size / 2 : size);
  }
  int Fsync(int fd) override { return fault_ == "fsync" ? Fail(EIO) : PosixFileOps::Fsync(fd); }
  int Close(int fd) override {
    const int rc = PosixFileOps::Close(fd);
    return fault_ == "close" ? Fail(EIO) : rc;
  }
  int Rename(const std::string& from, const std::string& to) override {
    return fault_ == "rename" ? Fail(EXDEV) : PosixFileOps::Rename(from, to);
  }

 private:
  static int Fail(int error) {
    errno = error;
    return -1;
  }
  std::string fault_;
  int writes_ = 0;
};

// With no folder given, the file is the working directory's.
TEST(SaveSettings, AFailedStepKeepsTheOldFileByteForByte) {
  const std::string old = "Vantrel.cfg\r\nWPM 22\r\nFnMsgA01 \x82\xA0\r\n";
  Settings s;
  s.WPM = 45;
  const auto previous = std::filesystem::current_path();
  for (const std::string fault : {"", "interrupted", "short", "fsync", "close", "rename"}) {
    SCOPED_TRACE(fault);
    TempDir dir;
    dir.Write("Vantrel.cfg", old);
    std::filesystem::current_path(dir.path());
    FailingOps ops(fault);
    const bool saved = SaveSettings(s, fault.empty() ? "" : dir.path(), ops);
    std::filesystem::current_path(previous);
    const bool written = fault.empty() || fault == "interrupted";
    EXPECT_EQ(saved, written);
    EXPECT_EQ(dir.Read("Vantrel.cfg"), written ? FormatSettings(s) : old);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Vantrel.cfg.tmp"));
  }
}

}  // namespace
}  // namespace vantrel::settings
