#include "platform/linux/hid_hidapi.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/hidraw.h"

namespace vantrel::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Hid, InputReportsStartWithTheirReportIdByte) {
  struct Case {
    bool numbered;
    Bytes delivered;
    int readResult;
    std::size_t capacity;
    int expectedCount;
    std::size_t expectedRoom;
    Bytes expectedBuffer;
  };
  const Bytes eight = {0x21, 2, 3, 4, 5, 6, 7, 0x0F};
  const Case cases[] = {
      {false, eight, 8, 9, 9, 8, {0x00, 0x21, 2, 3, 4, 5, 6, 7, 0x0F}},
      {false, eight, 8, 12, 9, 11, {0x00, 0x21, 2, 3, 4, 5, 6, 7, 0x0F, 0xEE, 0xEE, 0xEE}},
      {false, eight, 8, 4, 4, 3, {0x00, 0x21, 2, 3}},
      {true, {0x05, 1, 2}, 3, 4, 3, 4, {0x05, 1, 2, 0xEE}},
      {false, {}, 0, 3, 0, 2, {0xEE, 0xEE, 0xEE}},
      {false, {}, -1, 3, -1, 2, {0xEE, 0xEE, 0xEE}},
      {true, {}, -1, 3, -1, 3, {0xEE, 0xEE, 0xEE}},
      {false, eight, 8, 0, -1, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "capacity " << c.capacity << " result " << c.readResult);
    std::size_t roomGiven = 0;
    const auto read = [&](std::uint8_t* dst, std::size_t room) {
      roomGiven = room;
      if (c.readResult <= 0) return c.readResult;
      const std::size_t count = std::min(room, c.delivered.size());
      std::copy_n(c.delivered.begin(), count, dst);
      return static_cast<int>(count);
    };
    Bytes buffer(c.capacity, 0xEE);
    EXPECT_EQ(ReadWithReportId(c.numbered, buffer.data(), buffer.size(), read), c.expectedCount);
    EXPECT_EQ(roomGiven, c.expectedRoom);
    EXPECT_EQ(buffer, c.expectedBuffer);
  }
}

TEST(Hid, DeviceStringsBecomeUtf16) {
  EXPECT_EQ(WideToUtf16(L"Halvix CW v2.3"), u"Halvix CW v2.3");
  EXPECT_EQ(WideToUtf16(L"\x30CF\x30EB"), u"\x30CF\x30EB");
  EXPECT_EQ(WideToUtf16(std::wstring(1, wchar_t(0x1F600))), u"\xD83D\xDE00");
  for (const wchar_t bad : {wchar_t(0xD800), wchar_t(0x110000), wchar_t(-1)}) {
    EXPECT_EQ(WideToUtf16(std::wstring(1, bad)), u"\xFFFD");
  }
}

TEST(Hid, ReportDescriptorComesFromSysfsForHidrawNodesOnly) {
  EXPECT_EQ(HidrawReportDescriptorPath("/dev/hidraw12"),
            "/sys/class/hidraw/hidraw12/device/report_descriptor");
  for (const char* path :
       {"/dev/hidraw", "/dev/hidraw1/../../etc/passwd", "/dev/input/event0", ""}) {
    EXPECT_EQ(HidrawReportDescriptorPath(path), std::nullopt) << path;
  }
  EXPECT_TRUE(ReadHidrawReportDescriptor("/dev/hidraw999999").empty());
}

TEST(Hid, BusesEnumerateComeAndGoAndRefusePathsThatDoNotOpen) {
  for (int round = 0; round < 3; ++round) {
    HidapiBus first;
    HidapiBus second;
    for (const auto& device : first.Enumerate()) EXPECT_FALSE(device.path.empty());
    second.Enumerate();
    EXPECT_EQ(first.Open("/nonexistent/hidraw0"), nullptr);
    EXPECT_EQ(second.Open(""), nullptr);
  }
}

}  // namespace
}  // namespace vantrel::platform
