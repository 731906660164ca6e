#include "loglink/log_reply.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::loglink {
namespace {

using namespace std::string_literals;

struct ReplyCase {
  const char* name;
  std::string bytes;
  std::string hisCall;
  int report;
};

// Every case starts from the callsign box holding OLD and the report box 599.
class ReplyParsing : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyParsing, FillsTheBoxes) {
  std::string hisCall = "OLD";
  int report = 599;
  ApplyLogReply(ParseLogReply(GetParam().bytes), hisCall, report);
  EXPECT_EQ(hisCall, GetParam().hisCall);
  EXPECT_EQ(report, GetParam().report);
}

const std::string k31 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyParsing,
    ::testing::Values(
        ReplyCase{"four_tokens", "Q1ABC x y 579", "Q1ABC", 579},
        ReplyCase{"with_nul", "Q1ABC x y 579\0"s, "Q1ABC", 579},
        ReplyCase{"line_feeds", "\nQ1ABC\n\n\nx\n\ny\n579\n", "Q1ABC", 579},
        ReplyCase{"any_white_space", " \t\r\nQ1ABC\t\vx\fy\r\n 579  ", "Q1ABC", 579},
        ReplyCase{"further_text_ignored", "Q1ABC x y 579 559 JA1ZZZ", "Q1ABC", 579},
        ReplyCase{"non_numeric_fourth", "Q1ABC x y abc", "Q1ABC", 599},
        ReplyCase{"sign_alone", "Q1ABC x y -", "Q1ABC", 599},
        ReplyCase{"double_sign", "Q1ABC x y +-5", "Q1ABC", 599},
        ReplyCase{"digits_then_text", "Q1ABC x y 57x9", "Q1ABC", 57},
        ReplyCase{"signed", "Q1ABC x y -12", "Q1ABC", -12},
        ReplyCase{"plus", "Q1ABC x y +579", "Q1ABC", 579},
        ReplyCase{"beyond_int", "Q1ABC x y 99999999999", "Q1ABC", 599},
        ReplyCase{"three_tokens", "Q1ABC x y", "Q1ABC", 599},
        ReplyCase{"two_tokens", "Q1ABC x", "Q1ABC", 599},
        ReplyCase{"one_token", "Q1ABC", "Q1ABC", 599}, ReplyCase{"no_token", " \n\t ", "OLD", 599},
        ReplyCase{"empty", "", "OLD", 599}, ReplyCase{"nul_first", "\0Q1ABC x y 579"s, "OLD", 599},
        ReplyCase{"text_after_nul_ignored", "Q1ABC x\0 y 579"s, "Q1ABC", 599},
        ReplyCase{"token_of_31", k31 + " x y 579", k31, 579},
        ReplyCase{"token_cut_at_31", k31 + "XYZ x y 579", k31, 579},
        ReplyCase{"callsign_of_300", std::string(300, 'C') + " x y 579", std::string(31, 'C'), 579},
        ReplyCase{"long_middle_tokens",
                  "Q1ABC " + std::string(40, 'x') + " " + std::string(40, 'y') + " 579", "Q1ABC",
                  579},
        ReplyCase{"katakana_bytes", "\xB1\xB2 x y 579", "\xB1\xB2", 579}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyParsing, AnEmptyReplyChangesNothing) {
  LogReply reply = ParseLogReply("   ");
  EXPECT_FALSE(reply.HisCall);
  EXPECT_FALSE(reply.Report);
}

}  // namespace
}  // namespace vantrel::loglink
