#include <gtest/gtest.h>

#include <string>

#include "loglink/escaped_bytes.h"
#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/wire_format.h"
#include "settings/data_table.h"

namespace vantrel::loglink {
namespace {

using namespace std::string_literals;

// The text and its NUL fit 256 bytes; a cut never splits a double-byte character.
TEST(LogRecords, SendTextHoldsTheCallsignAndTheReport) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/send_texts.txt")) {
    EXPECT_EQ(CopyDataSendText(row[0], std::stoi(row[1])),
              "\n" + row[2] + "\n\n\n" + row[1] + "\n\n\nCW")
        << row[0].size();
  }
}

// Every case starts from the callsign box holding OLD and the report box 599.
TEST(LogRecords, ReplyFillsTheBoxes) {
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/replies.txt")) {
    SCOPED_TRACE(EscapedBytes(row[0]));
    std::string hisCall = "OLD";
    int report = 599;
    ApplyLogReply(ParseLogReply(row[0]), hisCall, report);
    EXPECT_EQ(hisCall, row[1]);
    EXPECT_EQ(report, std::stoi(row[2]));
  }
}

std::string Header(std::uint16_t addressSize, std::uint64_t identifier, std::uint32_t count) {
  std::string out = "CPYD\x01\x00"s;
  for (int i = 0; i < 2; ++i) out += static_cast<char>(addressSize >> (8 * i));
  for (int i = 0; i < 8; ++i) out += static_cast<char>(identifier >> (8 * i));
  for (int i = 0; i < 4; ++i) out += static_cast<char>(count >> (8 * i));
  return out;
}

TEST(WireFormat, RecordsAndResultsHaveFixedBytes) {
  EXPECT_EQ(EncodeRecord({0x73, "", ""}), Header(0, 0x73, 0));
  EXPECT_EQ(EncodeResult(0x0102030405060708), "\x08\x07\x06\x05\x04\x03\x02\x01"s);
  EXPECT_EQ(DecodeResult("\x08\x07\x06\x05\x04\x03\x02\x01"s), 0x0102030405060708u);
  EXPECT_FALSE(EncodeRecord({1, std::string(kMaxMessageSize - kHeaderSize + 1, 'x'), ""}));
  EXPECT_TRUE(EncodeRecord({1, std::string(kMaxMessageSize - kHeaderSize, 'x'), ""}));
  EXPECT_FALSE(EncodeRecord({1, "", "relative/path"}));
  EXPECT_FALSE(EncodeRecord({1, "", "/" + std::string(kMaxReplyAddress, 'a')}));
}

TEST(WireFormat, DecoderCollectsAMessageByteByByteAndLeavesWhatFollows) {
  const std::string message = *EncodeRecord({0x3000F, "abc", "/tmp/x"});
  RecordDecoder decoder;
  for (char c : message) {
    EXPECT_EQ(decoder.state(), RecordDecoder::State::kNeedMore);
    EXPECT_EQ(decoder.Feed(std::string(1, c)), 1u);
  }
  ASSERT_EQ(decoder.state(), RecordDecoder::State::kComplete);
  EXPECT_EQ(decoder.record().identifier, 0x3000Fu);
  EXPECT_EQ(decoder.record().bytes, "abc");
  EXPECT_EQ(decoder.record().replyAddress, "/tmp/x");
  RecordDecoder whole;
  EXPECT_EQ(whole.Feed(message + "trailing"), message.size());
}

TEST(WireFormat, DecoderRefusesMalformedMessages) {
  std::string good = *EncodeRecord({0x73, "", "/tmp/reply"});
  const std::string cases[] = {"X" + good.substr(1),
                               good.substr(0, 4) + "\x02" + good.substr(5),
                               Header(kMaxReplyAddress + 1, 1, 0),
                               Header(0, 1, kMaxMessageSize - kHeaderSize + 1),
                               Header(0, 1, 0xFFFFFFFF),
                               Header(3, 1, 0) + "abc",
                               Header(3, 1, 0) + "/a\0"s};
  for (const std::string& bytes : cases) {
    RecordDecoder decoder;
    decoder.Feed(bytes);
    EXPECT_EQ(decoder.state(), RecordDecoder::State::kMalformed) << EscapedBytes(bytes);
  }
}

}  // namespace
}  // namespace vantrel::loglink
