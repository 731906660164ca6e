#include "platform/linux/report_descriptor.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Hex(const std::string& text) {
  std::istringstream in(text);
  Bytes bytes;
  unsigned value = 0;
  while (in >> std::hex >> value) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

// Vendor page, application collection, 8-bit fields: eight input and eight output bytes.
const std::string kVendor = "06 00 FF 09 01 A1 01 15 00 26 FF 00 75 08 95 08 09 01 81 02 ";
const std::string kVendorEnd = "95 08 09 01 91 02 C0";
// A vendor input report of the given count (16-bit count item) of bytes.
std::string VendorInputOf(const char* countLowHigh) {
  return "06 00 FF 09 01 A1 01 75 08 96 " + std::string(countLowHigh) + " 81 02 C0";
}

TEST(ReportDescriptor, GivesReportLengthsWithTheIdByteOrRefusesTheMalformed) {
  struct Case {
    const char* name;
    Bytes descriptor;
    std::optional<ReportLengths> expected;
  };
  const Case cases[] = {
      {"vendor 8 in 8 out", Hex(kVendor + kVendorEnd), ReportLengths{9, 9, false}},
      {"numbered, the largest wins",
       Hex("06 00 FF 09 01 A1 01 75 08 85 01 95 08 09 01 81 02 85 02 95 20 09 01 81 02 "
           "85 03 95 04 09 01 91 02 C0"),
       ReportLengths{33, 5, true}},
      {"boot keyboard",
       Hex("05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 95 01 75 08 81 01 "
           "95 05 75 01 05 08 19 01 29 05 91 02 95 01 75 03 91 01 95 06 75 08 15 00 25 65 05 07 "
           "19 00 29 65 81 00 C0"),
       ReportLengths{9, 2, false}},
      {"partial byte rounds up inside push/pop",
       Hex("05 01 09 02 A1 01 75 08 A4 75 01 95 03 81 02 B4 95 00 81 01 C0"),
       ReportLengths{2, 0, false}},
      {"largest allowed report", Hex(VendorInputOf("FF 0F")), ReportLengths{4096, 0, false}},
      {"only no-op items", Bytes(kMaxReportDescriptorSize, 0x00), ReportLengths{0, 0, false}},
      {"empty", {}, std::nullopt},
      {"truncated item data", Hex("06 00"), std::nullopt},
      {"truncated four-byte item", Hex("77 FF FF"), std::nullopt},
      {"missing end collection", Hex(kVendor + "95 08 09 01 91 02"), std::nullopt},
      {"cut inside an item", Hex(kVendor.substr(0, 48)), std::nullopt},
      {"long item", Hex("FE 02 10 00 00"), std::nullopt},
      {"end collection without collection", Hex("C0"), std::nullopt},
      {"report id zero", Hex("85 00"), std::nullopt},
      {"report id above 255", Hex("86 00 01"), std::nullopt},
      {"pop without push", Hex("B4"), std::nullopt},
      {"push too deep", Bytes(17, 0xA4), std::nullopt},
      {"absurd size times count", Hex("77 FF FF FF FF 97 FF FF FF FF 81 02"), std::nullopt},
      {"report one byte too long", Hex(VendorInputOf("00 10")), std::nullopt},
      {"descriptor too long", Bytes(kMaxReportDescriptorSize + 1, 0x00), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseReportLengths(c.descriptor), c.expected) << c.name;
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
