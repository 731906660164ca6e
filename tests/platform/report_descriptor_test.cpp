#include "platform/linux/report_descriptor.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace vantrel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Vendor-defined page, eight 8-bit input fields and eight 8-bit output fields, no report ids.
const Bytes kVendor8In8Out = {
    0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x08,        //   Report Count (8)
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x95, 0x08,        //   Report Count (8)
    0x09, 0x01,        //   Usage (1)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// Three numbered reports: input 1 of 8 bytes, input 2 of 32 bytes, output 3 of 4 bytes.
const Bytes kNumbered = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,        // vendor page, application collection
    0x75, 0x08,                                      // Report Size (8)
    0x85, 0x01, 0x95, 0x08, 0x09, 0x01, 0x81, 0x02,  // Report ID 1, Count 8, Input
    0x85, 0x02, 0x95, 0x20, 0x09, 0x01, 0x81, 0x02,  // Report ID 2, Count 32, Input
    0x85, 0x03, 0x95, 0x04, 0x09, 0x01, 0x91, 0x02,  // Report ID 3, Count 4, Output
    0xC0,
};

// The boot keyboard: 8 input bytes, 5 LED bits plus 3 padding bits of output.
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
};

// Three 1-bit buttons only, inside Push/Pop: rounds up to one byte.
const Bytes kThreeBitsPushed = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0xA4, 0x75, 0x01,
    0x95, 0x03, 0x81, 0x02, 0xB4, 0x95, 0x00, 0x81, 0x01, 0xC0,
};

Bytes VendorInputOfBytes(std::uint16_t count) {
  return {0x06,
          0x00,
          0xFF,
          0x09,
          0x01,
          0xA1,
          0x01,
          0x75,
          0x08,
          0x96,
          static_cast<std::uint8_t>(count & 0xFF),
          static_cast<std::uint8_t>(count >> 8),
          0x81,
          0x02,
          0xC0};
}

struct WellFormedCase {
  std::string name;
  Bytes descriptor;
  ReportLengths expected;
};

void PrintTo(const WellFormedCase& c, std::ostream* os) {
  *os << c.name;
}

class WellFormedDescriptor : public testing::TestWithParam<WellFormedCase> {};

TEST_P(WellFormedDescriptor, GivesReportLengthsWithTheIdByte) {
  EXPECT_EQ(ParseReportLengths(GetParam().descriptor), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ReportDescriptor, WellFormedDescriptor,
    testing::Values(
        WellFormedCase{"Vendor8In8Out", kVendor8In8Out, {9, 9, false}},
        WellFormedCase{"NumberedLargestWins", kNumbered, {33, 5, true}},
        WellFormedCase{"BootKeyboard", kBootKeyboard, {9, 2, false}},
        WellFormedCase{"PartialByteRoundsUp", kThreeBitsPushed, {2, 0, false}},
        WellFormedCase{"LargestAllowedReport", VendorInputOfBytes(4095), {4096, 0, false}},
        WellFormedCase{"OnlyNoOpItems", Bytes(kMaxReportDescriptorSize, 0x00), {0, 0, false}}),
    [](const auto& info) { return info.param.name; });

struct MalformedCase {
  std::string name;
  Bytes descriptor;
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
  *os << c.name;
}

class MalformedDescriptor : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedDescriptor, IsNotUsable) {
  EXPECT_EQ(ParseReportLengths(GetParam().descriptor), std::nullopt);
}

Bytes Truncated(Bytes bytes, std::size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

Bytes Pushes(std::size_t count) {
  return Bytes(count, 0xA4);
}

INSTANTIATE_TEST_SUITE_P(
    ReportDescriptor, MalformedDescriptor,
    testing::Values(MalformedCase{"Empty", {}}, MalformedCase{"TruncatedItemData", {0x06, 0x00}},
                    MalformedCase{"TruncatedFourByteItem", {0x77, 0xFF, 0xFF}},
                    MalformedCase{"MissingEndCollection", Truncated(kVendor8In8Out, 1)},
                    MalformedCase{"CutInsideAnItem", Truncated(kVendor8In8Out, 11)},
                    MalformedCase{"LongItem", {0xFE, 0x02, 0x10, 0x00, 0x00}},
                    MalformedCase{"EndCollectionWithoutCollection", {0xC0}},
                    MalformedCase{"ReportIdZero", {0x85, 0x00}},
                    MalformedCase{"ReportIdAbove255", {0x86, 0x00, 0x01}},
                    MalformedCase{"PopWithoutPush", {0xB4}},
                    MalformedCase{"PushTooDeep", Pushes(17)},
                    MalformedCase{
                        "AbsurdSizeTimesCount",
                        {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02}},
                    MalformedCase{"ReportOneByteTooLong", VendorInputOfBytes(4096)},
                    MalformedCase{"DescriptorTooLong", Bytes(kMaxReportDescriptorSize + 1, 0x00)}),
    [](const auto& info) { return info.param.name; });

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
