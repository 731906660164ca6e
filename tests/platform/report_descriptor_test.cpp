#include "platform/linux/report_descriptor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

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
  std::ifstream file(VANTREL_PLATFORM_DATA_DIR "/report_descriptors.txt");
  int cases = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with('#')) continue;
    std::istringstream fields(line);
    std::string name, lengths, hex;
    std::getline(fields, name, '|');
    std::getline(fields, lengths, '|');
    std::getline(fields, hex);
    std::optional<ReportLengths> expected;
    ReportLengths parsed;
    if (std::istringstream(lengths) >> parsed.input >> parsed.output >> parsed.numbered) {
      expected = parsed;
    }
    EXPECT_EQ(ParseReportLengths(Hex(hex)), expected) << name;
    ++cases;
  }
  EXPECT_EQ(cases, 20);
}

TEST(ReportDescriptor, RandomBytesNeverGiveAnOversizedLength) {
  std::mt19937 random(12345);
  for (int round = 0; round < 20000; ++round) {
    Bytes bytes(random() % 64);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const auto lengths = ParseReportLengths(bytes);
    if (!lengths) continue;
    EXPECT_LE(lengths->input, kMaxReportLength);
    EXPECT_LE(lengths->output, kMaxReportLength);
  }
}

}  // namespace
}  // namespace vantrel::platform
