#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::platform {
namespace {

struct EncodingCase {
  std::string cp932;
  std::string utf8;
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
  *os << c.utf8.size() << " UTF-8 bytes";
}

class RoundTrip : public testing::TestWithParam<EncodingCase> {};

TEST_P(RoundTrip, ConvertsBothWaysByteExact) {
  EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().utf8);
  EXPECT_EQ(Utf8ToCp932(GetParam().utf8), GetParam().cp932);
  EXPECT_EQ(TryUtf8ToCp932(GetParam().utf8), GetParam().cp932);
}

INSTANTIATE_TEST_SUITE_P(
    TextEncoding, RoundTrip,
    testing::Values(EncodingCase{"", ""}, EncodingCase{"CQ DE $M K ~BK", "CQ DE $M K ~BK"},
                    EncodingCase{"\x82\xC8\x82\xB5", "なし"},
                    EncodingCase{"\xB7\xAC\xDD\xBE\xD9", "ｷｬﾝｾﾙ"}, EncodingCase{"\\~", "\\~"},
                    EncodingCase{"\x90\xDD\x92\xE8", "設定"},
                    EncodingCase{std::string("A\0B", 3), std::string("A\0B", 3)}));

TEST(TextEncoding, InvalidCp932BytesBecomeReplacementCharacters) {
  EXPECT_EQ(Cp932ToUtf8("A\x80"
                        "B"),
            "A\xEF\xBF\xBD"
            "B");
  EXPECT_EQ(Cp932ToUtf8("A\x82"), "A\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8("\x82\x20X"), "\xEF\xBF\xBD X");
}

TEST(TextEncoding, CharactersWithoutCp932FormBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp932("A\xF0\x9F\x98\x80"
                        "B"),
            "A?B");
  EXPECT_EQ(Utf8ToCp932("A\xC3"), "A?");
  EXPECT_EQ(TryUtf8ToCp932("A\xF0\x9F\x98\x80"), std::nullopt);
  EXPECT_EQ(TryUtf8ToCp932("\xFF"), std::nullopt);
}

TEST(TextEncoding, LongTextConvertsWhole) {
  std::string cp932;
  std::string utf8;
  for (int i = 0; i < 1000; ++i) {
    cp932 += "\x82\xA0x";
    utf8 += "あx";
  }
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
  EXPECT_EQ(Utf8ToCp932(utf8), cp932);
}

}  // namespace
}  // namespace vantrel::platform

namespace vantrel::platform {
namespace {

iconv_t FailingFrom(const char* to, const char* from, const char* failing) {
  return std::string_view(from) == failing ? reinterpret_cast<iconv_t>(-1) : iconv_open(to, from);
}

TEST(Cp932Conversion, IsAvailableOnlyWhenBothDirectionsOpen) {
  EXPECT_TRUE(Cp932ConversionAvailable());
  EXPECT_FALSE(Cp932ConversionAvailable(
      [](const char* to, const char* from) { return FailingFrom(to, from, "CP932"); }));
  EXPECT_FALSE(Cp932ConversionAvailable(
      [](const char* to, const char* from) { return FailingFrom(to, from, "UTF-8"); }));
}

}  // namespace
}  // namespace vantrel::platform
