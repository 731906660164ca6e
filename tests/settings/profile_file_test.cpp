#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

TEST(ProfileFile, FindsTheKeyOfItsSection) {
  const std::pair<const char*, const char*> cases[] = {
      {"[Window]\r\nSize=1,2,3,4\r\n", "1,2,3,4"},
      {"[window]\nsize = \"1,2\" \n", "1,2"},
      {"[Other]\nSize=9\n[Window]\nTop=1\n", "fallback"},
      {"[Window]\nTop=1\n[Other]\nSize=9\n", "fallback"},
      {"Size=9\n", "fallback"},
      {"", "fallback"},
      {"[Window]\nSize=", ""}};
  for (const auto& [file, expected] : cases) {
    SCOPED_TRACE(file);
    TempDir dir;
    dir.Write("p.ini", file);
    EXPECT_EQ(ProfileFile(dir.path() / "p.ini").GetString("Window", "Size", "fallback"), expected);
  }
  TempDir dir;
  dir.Write("p.ini", "[Window]\nTop=1\nBad=x\n");
  ProfileFile profile(dir.path() / "p.ini");
  EXPECT_EQ(profile.GetInt("Window", "Top", 0), 1);
  EXPECT_EQ(profile.GetInt("Window", "Bad", 7), 0);
  EXPECT_EQ(profile.GetInt("Window", "None", 7), 7);
  EXPECT_EQ(ProfileFile(dir.path() / "missing.ini").GetInt("Window", "Top", 5), 5);
}

TEST(ProfileFile, WritingChangesOnlyTheOneKey) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "[Window]\r\nTop=1\r\n"},
      {"[Window]\nTop=0\n", "[Window]\nTop=1\n"},
      {"; note\n[WINDOW]\nSize=1\n\n[B]\nx=y\n", "; note\n[WINDOW]\nSize=1\nTop=1\n\n[B]\nx=y\n"},
      {"[A]\r\nk=v", "[A]\r\nk=v\r\n[Window]\r\nTop=1\r\n"},
      {"[Window]\r\n top = 0\r\nZ=1", "[Window]\r\nTop=1\r\nZ=1"}};
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    TempDir dir;
    if (*before) dir.Write("p.ini", before);
    ASSERT_TRUE(ProfileFile(dir.path() / "p.ini").WriteString("Window", "Top", "1"));
    EXPECT_EQ(dir.Read("p.ini"), after);
  }
  EXPECT_FALSE(ProfileFile("/nonexistent-folder/p.ini").WriteString("Window", "Top", "1"));
}

}  // namespace
}  // namespace vantrel::settings
