#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/hidraw.h"
#include "platform/linux/report_descriptor.h"
#include "settings/data_table.h"

namespace vantrel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// "AA" is one byte, "AA*N" N of them.
Bytes Hex(const std::string& text) {
  std::istringstream in(text);
  Bytes bytes;
  for (std::string token; in >> token;) {
    const auto star = token.find('*');
    const int count = star == std::string::npos ? 1 : std::stoi(token.substr(star + 1));
    bytes.insert(bytes.end(), count, static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
  }
  return bytes;
}

TEST(ReportDescriptor, GivesReportLengthsWithTheIdByteOrRefusesTheMalformed) {
  const auto rows = ReadTable(VANTREL_PLATFORM_DATA_DIR "/report_descriptors.txt");
  EXPECT_EQ(rows.size(), 20u);
  for (const auto& row : rows) {
    std::optional<ReportLengths> expected;
    ReportLengths parsed;
    if (std::istringstream(row[1]) >> parsed.input >> parsed.output >> parsed.numbered) {
      expected = parsed;
    }
    EXPECT_EQ(ParseReportLengths(Hex(row[2])), expected) << row[0];
  }
}

TEST(Hid, InputReportsStartWithTheirReportIdByte) {
  const auto rows = ReadTable(VANTREL_PLATFORM_DATA_DIR "/hid_report_reads.txt");
  EXPECT_EQ(rows.size(), 8u);
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "capacity " << row[3] << " result " << row[2]);
    const Bytes delivered = Hex(row[1]);
    const int result = std::stoi(row[2]);
    std::size_t roomGiven = 0;
    const auto read = [&](std::uint8_t* dst, std::size_t room) {
      roomGiven = room;
      if (result <= 0) return result;
      const std::size_t count = std::min(room, delivered.size());
      std::copy_n(delivered.begin(), count, dst);
      return static_cast<int>(count);
    };
    Bytes buffer(std::stoul(row[3]), 0xEE);
    EXPECT_EQ(ReadWithReportId(std::stoi(row[0]) == 1, buffer.data(), buffer.size(), read),
              std::stoi(row[4]));
    EXPECT_EQ(roomGiven, std::stoul(row[5]));
    EXPECT_EQ(buffer, Hex(row[6]));
  }
}

TEST(Hid, ReportDescriptorComesFromSysfsForHidrawNodesOnly) {
  for (const auto& row : ReadTable(VANTREL_PLATFORM_DATA_DIR "/hidraw_paths.txt")) {
    EXPECT_EQ(HidrawReportDescriptorPath(row[0]).value_or("-"), row[1]) << row[0];
  }
  EXPECT_TRUE(ReadHidrawReportDescriptor("/dev/hidraw999999").empty());
}

}  // namespace
}  // namespace vantrel::platform
