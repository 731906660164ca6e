#include "settings/profile_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

struct ReadCase {
  const char* file;
  const char* expected;
};

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheKeyOfTheSection) {
  TempDir dir;
  dir.Write("p.ini", GetParam().file);
  ProfileFile profile(dir.path() / "p.ini");
  EXPECT_EQ(profile.GetString("Window", "Size", "fallback"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ProfileRead,
                         testing::Values(ReadCase{"[Window]\r\nSize=1,2,3,4\r\n", "1,2,3,4"},
                                         ReadCase{"[window]\nsize = \"1,2\" \n", "1,2"},
                                         ReadCase{"[Other]\nSize=9\n[Window]\nTop=1\n", "fallback"},
                                         ReadCase{"[Window]\nTop=1\n[Other]\nSize=9\n", "fallback"},
                                         ReadCase{"Size=9\n", "fallback"}, ReadCase{"", "fallback"},
                                         ReadCase{"[Window]\nSize=", ""}));

TEST(ProfileFile, NumbersAndMissingKeys) {
  TempDir dir;
  dir.Write("p.ini", "[Window]\nTop=1\nBad=x\n");
  ProfileFile profile(dir.path() / "p.ini");
  EXPECT_EQ(profile.GetInt("Window", "Top", 0), 1);
  EXPECT_EQ(profile.GetInt("Window", "Bad", 7), 0);
  EXPECT_EQ(profile.GetInt("Window", "None", 7), 7);
  EXPECT_EQ(ProfileFile(dir.path() / "missing.ini").GetInt("Window", "Top", 5), 5);
}

struct WriteCase {
  const char* before;
  const char* after;
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyTheOneKey) {
  TempDir dir;
  if (*GetParam().before) dir.Write("p.ini", GetParam().before);
  ProfileFile profile(dir.path() / "p.ini");
  ASSERT_TRUE(profile.WriteString("Window", "Top", "1"));
  EXPECT_EQ(dir.Read("p.ini"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileWrite,
    testing::Values(WriteCase{"", "[Window]\r\nTop=1\r\n"},
                    WriteCase{"[Window]\nTop=0\n", "[Window]\nTop=1\n"},
                    WriteCase{"; note\n[WINDOW]\nSize=1\n\n[B]\nx=y\n",
                              "; note\n[WINDOW]\nSize=1\nTop=1\n\n[B]\nx=y\n"},
                    WriteCase{"[A]\r\nk=v", "[A]\r\nk=v\r\n[Window]\r\nTop=1\r\n"},
                    WriteCase{"[Window]\r\n top = 0\r\nZ=1", "[Window]\r\nTop=1\r\nZ=1"}));

TEST(ProfileFile, AnUnwritableFolderLeavesTheFileAsItWas) {
  ProfileFile profile("/nonexistent-folder/p.ini");
  EXPECT_FALSE(profile.WriteString("Window", "Top", "1"));
}

}  // namespace
}  // namespace vantrel::settings
