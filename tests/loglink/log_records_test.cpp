#include <gtest/gtest.h>

#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "loglink/relay_protocol.h"
#include "settings/data_table.h"

namespace vantrel::loglink {
namespace {

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
  int line = 0;
  for (const auto& row : ReadTable(VANTREL_LOGLINK_DATA_DIR "/replies.txt")) {
    SCOPED_TRACE(++line);
    std::string hisCall = "OLD";
    int report = 599;
    ApplyLogReply(ParseLogReply(row[0]), hisCall, report);
    EXPECT_EQ(hisCall, row[1]);
    EXPECT_EQ(report, std::stoi(row[2]));
  }
}

TEST(RelayProtocol, SendLineCarriesTheBytesInHex) {
  EXPECT_EQ(RelaySendLine("\nQ1ABC\n\n\n599\n\n\nCW"),
            "send 0a5131414243"
            "0a0a0a"
            "353939"
            "0a0a0a"
            "4357\n");
  EXPECT_EQ(RelaySendLine("\x82\xA0"), "send 82a0\n");
  EXPECT_EQ(RelaySendLine(""), "send \n");
}

TEST(RelayProtocol, LinesFromTheRelayReadAsTheyAreMeantOrNotAtAll) {
  using Kind = RelayMessage::Kind;
  const struct {
    std::string line;
    std::optional<Kind> kind;
    std::uint64_t result = 0;
    std::string bytes = "";
  } cases[] = {
      {"ready", Kind::kReady},
      {"notfound\r", Kind::kNotFound},
      {"result 0", Kind::kResult, 0},
      {"result 4294967295", Kind::kResult, 4294967295u},
      {"result 18446744073709551615", Kind::kResult, 18446744073709551615u},
      {"reply 5131414243207820792035373900", Kind::kReply, 0, std::string("Q1ABC x y 579\0", 14)},
      {"reply 82A0", Kind::kReply, 0, "\x82\xA0"},
      {"reply ", Kind::kReply, 0, ""},
      {"result 18446744073709551616", std::nullopt},
      {"result -1", std::nullopt},
      {"result 12x", std::nullopt},
      {"result ", std::nullopt},
      {"reply 5", std::nullopt},
      {"reply 5g", std::nullopt},
      {"Ready", std::nullopt},
      {"", std::nullopt},
      {"fixme:ntdll:NtQuerySystemInformation", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<RelayMessage> message = ParseRelayLine(c.line);
    ASSERT_EQ(message.has_value(), c.kind.has_value());
    if (!message) continue;
    EXPECT_EQ(message->kind, *c.kind);
    EXPECT_EQ(message->result, c.result);
    EXPECT_EQ(message->bytes, c.bytes);
  }
}

}  // namespace
}  // namespace vantrel::loglink
