#include "platform/linux/hid_hidapi.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/linux/hidraw.h"

namespace vantrel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Stands in for the hidraw read: delivers `report` (or `result` when it is not positive)
// and remembers the room it was given.
struct FakeRead {
  Bytes report;
  int result;
  std::size_t roomGiven = 0;
  bool called = false;

  RawReportRead Reader() {
    return [this](std::uint8_t* dst, std::size_t room) {
      called = true;
      roomGiven = room;
      if (result <= 0) return result;
      const std::size_t count = std::min(room, report.size());
      std::copy_n(report.begin(), count, dst);
      return static_cast<int>(count);
    };
  }
};

struct FramingCase {
  std::string name;
  bool numbered;
  Bytes delivered;
  int readResult;
  std::size_t capacity;
  int expectedCount;
  std::size_t expectedRoom;
  Bytes expectedBuffer;
};

void PrintTo(const FramingCase& c, std::ostream* os) {
  *os << c.name;
}

class InputFraming : public testing::TestWithParam<FramingCase> {};

TEST_P(InputFraming, PutsTheReportIdByteFirst) {
  const auto& c = GetParam();
  FakeRead read{c.delivered, c.readResult};
  Bytes buffer(c.capacity, 0xEE);
  EXPECT_EQ(ReadWithReportId(c.numbered, buffer.data(), buffer.size(), read.Reader()),
            c.expectedCount);
  EXPECT_EQ(read.roomGiven, c.expectedRoom);
  EXPECT_EQ(buffer, c.expectedBuffer);
}

const Bytes kEightBytes = {0x21, 2, 3, 4, 5, 6, 7, 0x0F};

INSTANTIATE_TEST_SUITE_P(
    Hid, InputFraming,
    testing::Values(
        FramingCase{"UnnumberedGetsIdZeroInFront",
                    false,
                    kEightBytes,
                    8,
                    9,
                    9,
                    8,
                    {0x00, 0x21, 2, 3, 4, 5, 6, 7, 0x0F}},
        FramingCase{"UnnumberedInALargerBuffer",
                    false,
                    kEightBytes,
                    8,
                    12,
                    9,
                    11,
                    {0x00, 0x21, 2, 3, 4, 5, 6, 7, 0x0F, 0xEE, 0xEE, 0xEE}},
        FramingCase{
            "UnnumberedLongReportIsCut", false, kEightBytes, 8, 4, 4, 3, {0x00, 0x21, 2, 3}},
        FramingCase{"NumberedKeepsItsOwnId", true, {0x05, 1, 2}, 3, 4, 3, 4, {0x05, 1, 2, 0xEE}},
        FramingCase{"TimeoutLeavesTheBufferAlone", false, {}, 0, 3, 0, 2, {0xEE, 0xEE, 0xEE}},
        FramingCase{"FailureIsPassedOn", false, {}, -1, 3, -1, 2, {0xEE, 0xEE, 0xEE}},
        FramingCase{"NumberedFailureIsPassedOn", true, {}, -1, 3, -1, 3, {0xEE, 0xEE, 0xEE}}),
    [](const auto& info) { return info.param.name; });

TEST(Hid, UnnumberedReadIntoNoRoomFailsWithoutReading) {
  FakeRead read{kEightBytes, 8};
  std::uint8_t byte = 0xEE;
  EXPECT_EQ(ReadWithReportId(false, &byte, 0, read.Reader()), -1);
  EXPECT_FALSE(read.called);
}

struct WideCase {
  std::string name;
  std::wstring wide;
  std::u16string expected;
};

void PrintTo(const WideCase& c, std::ostream* os) {
  *os << c.name;
}

class WideText : public testing::TestWithParam<WideCase> {};

TEST_P(WideText, BecomesUtf16Units) {
  EXPECT_EQ(WideToUtf16(GetParam().wide), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hid, WideText,
    testing::Values(
        WideCase{"Empty", L"", u""}, WideCase{"Ascii", L"Halvix CW v2.3", u"Halvix CW v2.3"},
        WideCase{"Katakana", L"\x30CF\x30EB", u"\x30CF\x30EB"},
        WideCase{"SupplementaryBecomesSurrogatePair", std::wstring(1, wchar_t(0x1F600)),
                 u"\xD83D\xDE00"},
        WideCase{"LoneSurrogateIsReplaced", std::wstring(1, wchar_t(0xD800)), u"\xFFFD"},
        WideCase{"BeyondUnicodeIsReplaced", std::wstring(1, wchar_t(0x110000)), u"\xFFFD"},
        WideCase{"NegativeIsReplaced", std::wstring(1, wchar_t(-1)), u"\xFFFD"}),
    [](const auto& info) { return info.param.name; });

struct SysfsCase {
  std::string name;
  std::string devicePath;
  std::optional<std::string> expected;
};

void PrintTo(const SysfsCase& c, std::ostream* os) {
  *os << c.name;
}

class HidrawSysfs : public testing::TestWithParam<SysfsCase> {};

TEST_P(HidrawSysfs, LocatesTheReportDescriptor) {
  EXPECT_EQ(HidrawReportDescriptorPath(GetParam().devicePath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hid, HidrawSysfs,
    testing::Values(SysfsCase{"Node", "/dev/hidraw3",
                              "/sys/class/hidraw/hidraw3/device/report_descriptor"},
                    SysfsCase{"TwoDigits", "/dev/hidraw12",
                              "/sys/class/hidraw/hidraw12/device/report_descriptor"},
                    SysfsCase{"NoNumber", "/dev/hidraw", std::nullopt},
                    SysfsCase{"Escape", "/dev/hidraw1/../../etc/passwd", std::nullopt},
                    SysfsCase{"OtherNode", "/dev/input/event0", std::nullopt},
                    SysfsCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST(Hid, DescriptorOfAMissingNodeIsEmpty) {
  EXPECT_TRUE(ReadHidrawReportDescriptor("/dev/hidraw999999").empty());
  EXPECT_TRUE(ReadHidrawReportDescriptor("/nonexistent").empty());
}

TEST(Hid, BusEnumeratesAndRefusesPathsThatDoNotOpen) {
  HidapiBus bus;
  for (const auto& device : bus.Enumerate()) EXPECT_FALSE(device.path.empty());
  EXPECT_EQ(bus.Open("/nonexistent/hidraw0"), nullptr);
  EXPECT_EQ(bus.Open(""), nullptr);
}

TEST(Hid, BusesComeAndGoOneAfterAnother) {
  for (int round = 0; round < 3; ++round) {
    HidapiBus first;
    HidapiBus second;
    first.Enumerate();
    second.Enumerate();
  }
}

}  // namespace
}  // namespace vantrel::platform
