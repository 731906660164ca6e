#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include "settings/data_table.h"
#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

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

}  // namespace
}  // namespace vantrel::settings
