#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::platform {
namespace {

TEST(TextEncoding, ConvertsBothWaysByteExact) {
  std::string longCp932, longUtf8;
  for (int i = 0; i < 1000; ++i) longCp932 += "\x82\xA0x", longUtf8 += "あx";
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"CQ DE $M K ~BK", "CQ DE $M K ~BK"},
      {"\x82\xC8\x82\xB5", "なし"},
      {"\xB7\xAC\xDD\xBE\xD9", "ｷｬﾝｾﾙ"},
      {"\\~", "\\~"},
      {"\x90\xDD\x92\xE8", "設定"},
      {std::string("A\0B", 3), std::string("A\0B", 3)},
      {longCp932, longUtf8}};
  for (const auto& [cp932, utf8] : cases) {
    EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
    EXPECT_EQ(Utf8ToCp932(utf8), cp932);
    EXPECT_EQ(TryUtf8ToCp932(utf8), cp932);
  }
}

TEST(TextEncoding, WhatHasNoFormBecomesAReplacementOrNothing) {
  const std::pair<std::string, std::string> toUtf8[] = {{"A\x80"
                                                         "B",
                                                         "A\xEF\xBF\xBD"
                                                         "B"},
                                                        {"A\x82", "A\xEF\xBF\xBD"},
                                                        {"\x82\x20X", "\xEF\xBF\xBD X"}};
  for (const auto& [cp932, utf8] : toUtf8) EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
  EXPECT_EQ(Utf8ToCp932("A\xF0\x9F\x98\x80"
                        "B"),
            "A?B");
  EXPECT_EQ(Utf8ToCp932("A\xC3"), "A?");
  EXPECT_EQ(TryUtf8ToCp932("A\xF0\x9F\x98\x80"), std::nullopt);
  EXPECT_EQ(TryUtf8ToCp932("\xFF"), std::nullopt);
}

iconv_t FailingFrom(const char* to, const char* from, const char* failing) {
  return std::string_view(from) == failing ? reinterpret_cast<iconv_t>(-1) : iconv_open(to, from);
}

TEST(TextEncoding, IsAvailableOnlyWhenBothDirectionsOpen) {
  EXPECT_TRUE(Cp932ConversionAvailable());
  EXPECT_FALSE(Cp932ConversionAvailable(
      [](const char* to, const char* from) { return FailingFrom(to, from, "CP932"); }));
  EXPECT_FALSE(Cp932ConversionAvailable(
      [](const char* to, const char* from) { return FailingFrom(to, from, "UTF-8"); }));
}

}  // namespace
}  // namespace vantrel::platform
