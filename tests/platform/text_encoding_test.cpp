#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/data_table.h"

namespace vantrel::platform {
namespace {

TEST(TextEncoding, ConvertsBothWaysByteExactAndMarksWhatHasNoForm) {
  for (const auto& row : ReadTable(VANTREL_PLATFORM_DATA_DIR "/text_encodings.txt")) {
    SCOPED_TRACE(row[1].substr(0, 20));
    if (row[0] != "-") {
      EXPECT_EQ(Cp932ToUtf8(row[0]), row[1]);
    }
    const std::string back = row.size() > 2 ? row[2] : row[0];
    EXPECT_EQ(Utf8ToCp932(row[1]), back);
    EXPECT_EQ(TryUtf8ToCp932(row[1]), row.size() > 2 ? std::nullopt : std::optional(back));
  }
}

}  // namespace
}  // namespace vantrel::platform
