#include "loglink/wire_format.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::loglink {
namespace {

using namespace std::string_literals;

std::string Header(std::uint16_t addressSize, std::uint64_t identifier, std::uint32_t count) {
  std::string out = "CPYD\x01\x00"s;
  for (int i = 0; i < 2; ++i) out += static_cast<char>(addressSize >> (8 * i));
  for (int i = 0; i < 8; ++i) out += static_cast<char>(identifier >> (8 * i));
  for (int i = 0; i < 4; ++i) out += static_cast<char>(count >> (8 * i));
  return out;
}

TEST(WireFormat, F11RecordBytesAreFixed) {
  CopyDataRecord record{0x3000F, "\nQ1ABC\n\n\n599\n\n\nCW", "/run/user/1000/vantrel-4242-1"};
  std::string expected =
      "CPYD\x01\x00\x1D\x00\x0F\x00\x03\x00\x00\x00\x00\x00\x11\x00\x00\x00"s
      "/run/user/1000/vantrel-4242-1\nQ1ABC\n\n\n599\n\n\nCW";
  EXPECT_EQ(EncodeRecord(record), expected);
}

TEST(WireFormat, RequestWithoutDataOrAddressIsTheHeaderAlone) {
  EXPECT_EQ(EncodeRecord({0x73, "", ""}), Header(0, 0x73, 0));
}

TEST(WireFormat, ResultIsEightLittleEndianBytes) {
  EXPECT_EQ(EncodeResult(0x0102030405060708), "\x08\x07\x06\x05\x04\x03\x02\x01"s);
  EXPECT_EQ(DecodeResult("\x08\x07\x06\x05\x04\x03\x02\x01"s), 0x0102030405060708u);
}

TEST(WireFormat, RefusesToFrameWhatTheReceiverWouldDrop) {
  EXPECT_FALSE(EncodeRecord({1, std::string(kMaxMessageSize - kHeaderSize + 1, 'x'), ""}));
  EXPECT_TRUE(EncodeRecord({1, std::string(kMaxMessageSize - kHeaderSize, 'x'), ""}));
  EXPECT_FALSE(EncodeRecord({1, "", "relative/path"}));
  EXPECT_FALSE(EncodeRecord({1, "", "/" + std::string(kMaxReplyAddress, 'a')}));
}

TEST(RecordDecoder, CollectsAMessageArrivingOneByteAtATime) {
  std::string message = *EncodeRecord({0x3000F, "abc", "/tmp/x"});
  RecordDecoder decoder;
  for (char c : message) {
    EXPECT_EQ(decoder.state(), RecordDecoder::State::kNeedMore);
    EXPECT_EQ(decoder.Feed(std::string(1, c)), 1u);
  }
  ASSERT_EQ(decoder.state(), RecordDecoder::State::kComplete);
  EXPECT_EQ(decoder.record().identifier, 0x3000Fu);
  EXPECT_EQ(decoder.record().bytes, "abc");
  EXPECT_EQ(decoder.record().replyAddress, "/tmp/x");
}

TEST(RecordDecoder, LeavesBytesAfterTheMessage) {
  std::string message = *EncodeRecord({5, "ab", ""});
  RecordDecoder decoder;
  EXPECT_EQ(decoder.Feed(message + "trailing"), message.size());
  EXPECT_EQ(decoder.state(), RecordDecoder::State::kComplete);
}

struct BadMessage {
  const char* name;
  std::string bytes;
};

class MalformedMessage : public ::testing::TestWithParam<BadMessage> {};

TEST_P(MalformedMessage, IsRefused) {
  RecordDecoder decoder;
  decoder.Feed(GetParam().bytes);
  EXPECT_EQ(decoder.state(), RecordDecoder::State::kMalformed);
}

std::string WithByte(std::string message, std::size_t at, char value) {
  message[at] = value;
  return message;
}

const std::string kGood = *EncodeRecord({0x73, "", "/tmp/reply"});

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedMessage,
    ::testing::Values(BadMessage{"magic", WithByte(kGood, 0, 'X')},
                      BadMessage{"version", WithByte(kGood, 4, 2)},
                      BadMessage{"address_too_long", Header(kMaxReplyAddress + 1, 1, 0)},
                      BadMessage{"over_64k", Header(0, 1, kMaxMessageSize - kHeaderSize + 1)},
                      BadMessage{"count_near_4g", Header(0, 1, 0xFFFFFFFF)},
                      BadMessage{"relative_address", Header(3, 1, 0) + "abc"},
                      BadMessage{"nul_in_address", Header(3, 1, 0) + "/a\0"s}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel::loglink
