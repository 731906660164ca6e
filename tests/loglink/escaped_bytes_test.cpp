#include "loglink/escaped_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::loglink {
namespace {

using namespace std::string_literals;

TEST(EscapedBytes, ShowsEveryByteUnambiguously) {
  EXPECT_EQ(EscapedBytes("\nQ1ABC\n\n\n599\n\n\nCW"), "\\nQ1ABC\\n\\n\\n599\\n\\n\\nCW");
  EXPECT_EQ(EscapedBytes("a\"b\\c\r\t"), "a\\\"b\\\\c\\r\\t");
  EXPECT_EQ(EscapedBytes("\0\x7F\x82\xA0\xFF"s), "\\x00\\x7F\\x82\\xA0\\xFF");
}

}  // namespace
}  // namespace vantrel::loglink
