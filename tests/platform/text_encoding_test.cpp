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
  EXPECT_EQ(Cp932ToUtf8("A\200B"), "A\357\277\275B");
  EXPECT_EQ(Cp932ToUtf8("A\202"), "A\357\277\275");
  EXPECT_EQ(Cp932ToUtf8("\202 X"), "\357\277\275 X");
  EXPECT_EQ(Utf8ToCp932("A\360\237\230\200B"), "A?B");
  EXPECT_EQ(Utf8ToCp932("A\303"), "A?");
  EXPECT_EQ(TryUtf8ToCp932("A\360\237\230\200"), std::nullopt);
  EXPECT_EQ(TryUtf8ToCp932("\377"), std::nullopt);
}

TEST(TextEncoding, IsAvailableOnlyWhenBothDirectionsOpen) {
  EXPECT_TRUE(Cp932ConversionAvailable());
  static const char* failing = nullptr;
  for (const char* source : {"CP932", "UTF-8"}) {
    failing = source;
    EXPECT_FALSE(Cp932ConversionAvailable([](const char* to, const char* from) {
      return std::string_view(from) == failing ? reinterpret_cast<iconv_t>(-1)
                                               : iconv_open(to, from);
    })) << source;
  }
}

}  // namespace
}  // namespace vantrel::platform
