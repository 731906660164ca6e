#include "keyer/code_encoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vantrel::keyer {
namespace {

using Codes = std::array<std::uint8_t, kCodesPerCommand>;

struct Call {
  std::string text;
  bool writeCommand;
  bool postCharSent;
  Codes codes;
  ProsignState state;
};

constexpr Codes kNone{};

Call Sent(std::string text, Codes codes) {
  return Call{std::move(text), true, true, codes, ProsignState::Idle};
}

Call Held(std::string text, ProsignState state) {
  return Call{std::move(text), false, true, kNone, state};
}

Call Dropped(std::string text) {
  return Call{std::move(text), false, false, kNone, ProsignState::Idle};
}

struct EncodeCase {
  const char* name;
  std::string tableFile;
  std::vector<Call> calls;
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
  *os << c.name;
}

class CodeEncoding : public testing::TestWithParam<EncodeCase> {};

TEST_P(CodeEncoding, SendsTheCodesOfEachCall) {
  CodeTable table;
  table.Load(GetParam().tableFile);
  CodeEncoder encoder;
  for (const Call& call : GetParam().calls) {
    SCOPED_TRACE("text \"" + call.text + "\"");
    const EncodedCodes result = encoder.Encode(table, call.text);
    EXPECT_EQ(result.writeCommand, call.writeCommand);
    EXPECT_EQ(result.postCharSent, call.postCharSent);
    if (call.writeCommand) {
      EXPECT_EQ(result.codes, call.codes);
    }
    EXPECT_EQ(encoder.State(), call.state);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Characters, CodeEncoding,
    testing::Values(
        EncodeCase{"A", "", {Sent("A", {0x60})}}, EncodeCase{"C", "", {Sent("C", {0xA8})}},
        EncodeCase{"LowerCase", "", {Sent("c", {0xA8})}},
        EncodeCase{"Space", "", {Sent(" ", {0x80})}},
        EncodeCase{"MissSentAsNoCode", "", {Sent("#", {0x00})}},
        EncodeCase{"Katakana", "", {Sent("\xB1", {0xDC})}},
        EncodeCase{"SeveralInOrder", "", {Sent("A B", {0x60, 0x80, 0x88})}},
        EncodeCase{"Seven", "", {Sent("ABCDEFG", {0x60, 0x88, 0xA8, 0x90, 0x40, 0x28, 0xD0})}},
        EncodeCase{
            "EighthIgnored", "", {Sent("ABCDEFGH", {0x60, 0x88, 0xA8, 0x90, 0x40, 0x28, 0xD0})}},
        EncodeCase{
            "TildeAfterSeventhIgnored",
            "",
            {Sent("ABCDEFG~", {0x60, 0x88, 0xA8, 0x90, 0x40, 0x28, 0xD0}), Sent("E", {0x40})}},
        EncodeCase{"Empty", "", {Sent("", {})}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Prosigns, CodeEncoding,
    testing::Values(EncodeCase{"AR",
                               "",
                               {Held("~", ProsignState::First), Held("A", ProsignState::Second),
                                Sent("R", {0x54})}},
                    EncodeCase{"SK",
                               "",
                               {Held("~", ProsignState::First), Held("S", ProsignState::Second),
                                Sent("K", {0x16})}},
                    EncodeCase{"BT",
                               "",
                               {Held("~", ProsignState::First), Held("B", ProsignState::Second),
                                Sent("T", {0x8C})}},
                    EncodeCase{"SpaceK",
                               "",
                               {Held("~", ProsignState::First), Held(" ", ProsignState::Second),
                                Sent("K", {0xB0})}},
                    EncodeCase{"QQTooLongDropped",
                               "",
                               {Held("~", ProsignState::First), Held("Q", ProsignState::Second),
                                Dropped("Q"), Sent("A", {0x60})}},
                    EncodeCase{"FirstHalfWithoutCodeDropped",
                               "",
                               {Held("~", ProsignState::First), Held("#", ProsignState::Second),
                                Dropped("A"), Sent("A", {0x60})}},
                    EncodeCase{"SecondHalfWithoutCodeDropped",
                               "",
                               {Held("~", ProsignState::First), Held("A", ProsignState::Second),
                                Dropped("#"), Sent("#", {0x00})}},
                    EncodeCase{"SecondHalfCallKeepsItsOtherCodes",
                               "",
                               {Held("~", ProsignState::First), Held("A", ProsignState::Second),
                                Sent("RK", {0x54, 0xB0})}},
                    EncodeCase{"TildeRestartsTheSequence",
                               "",
                               {Held("~", ProsignState::First), Held("A", ProsignState::Second),
                                Held("~", ProsignState::First), Held("S", ProsignState::Second),
                                Sent("K", {0x16})}},
                    EncodeCase{"TildeAnywhereHoldsTheCall",
                               "",
                               {Held("A~", ProsignState::First), Held("S", ProsignState::Second),
                                Sent("K", {0x16})}},
                    EncodeCase{"AddedCharacterAsHalf",
                               "# .\n",
                               {Held("~", ProsignState::First), Held("#", ProsignState::Second),
                                Sent("T", {0x60})}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    WithTableFile, CodeEncoding,
    testing::Values(EncodeCase{"AddedCharacterSent", "# -...-\n", {Sent("#", {0x8C})}},
                    EncodeCase{"LowerCaseLine", "a -.-\n", {Sent("aA", {0xB0, 0x60})}},
                    EncodeCase{"SpaceLineChangesNothing", " .-\n", {Sent(" ", {0x80})}},
                    EncodeCase{
                        "TildeLineChangesNothing", "~ .-\n", {Held("~", ProsignState::First)}},
                    EncodeCase{"EightDotsGiveSevenDots", "E ........\n", {Sent("E", {0x01})}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodeEncoder, StartsIdle) {
  EXPECT_EQ(CodeEncoder().State(), ProsignState::Idle);
}

TEST(CodeEncoder, QqProsignPostsTwoMessagesAndWritesNothing) {
  const CodeTable table;
  CodeEncoder encoder;
  int posted = 0;
  int written = 0;
  for (const char* text : {"~", "Q", "Q"}) {
    const EncodedCodes result = encoder.Encode(table, text);
    posted += result.postCharSent ? 1 : 0;
    written += result.writeCommand ? 1 : 0;
  }
  EXPECT_EQ(posted, 2);
  EXPECT_EQ(written, 0);
}

}  // namespace
}  // namespace vantrel::keyer
