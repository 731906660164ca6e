#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "keyer/keyer_messages.h"
#include "operating/macro_expander.h"
#include "operating/operating_logic.h"
#include "operating/pacer.h"
#include "support/test_doubles.h"

namespace vantrel::operating {
namespace {

TEST(RulesTest, ExpandMacrosInOrderEachLaterTokenSeenInTheEarlierOnes) {
  const MacroValues mine{"JA1ZZZ", "Q1ABC", 599, "001"};
  // The text, the values, the expansion and whether it used the number.
  const std::tuple<const char*, MacroValues, const char*, bool> cases[] = {
      {"CQ DE $M K", mine, "CQ DE JA1ZZZ K", false},
      {"$C UR $R ~BK", mine, "Q1ABC UR 599 ~BK", false},
      {"$N $N", mine, "001 001", true},
      {"$m $c $r $n $", mine, "$m $c $r $n $", false},
      {"$M", {"X$C", "Q1ABC", 599, "7"}, "XQ1ABC", false},
      {"$M", {"$R$N", "", 599, "7"}, "5997", true},
      {"$C", {"JA1ZZZ", "$M", 599, ""}, "$M", false},
      {"$$MM", {"$", "", 599, ""}, "$$M", false},
  };
  for (const auto& [text, values, expanded, numberUsed] : cases) {
    const MacroExpansion result = ExpandMacros(text, values);
    EXPECT_EQ(result.text, expanded) << text;
    EXPECT_EQ(result.numberUsed, numberUsed) << text;
  }
  EXPECT_EQ(WithoutProsignMarks("~~A~ ~BK"), "A BK");
}

TEST(RulesTest, AdvanceNumberKeepsTheWidth) {
  const std::pair<const char*, const char*> cases[] = {
      {"001", "002"},     {"009", "010"}, {"999", "1000"},  {"M009", "M010"},
      {"12A34", "12A35"}, {"9", "10"},    {"0099", "0100"}, {"5NN0019", "5NN0020"},
      {"11M", "11M"},     {"000", "000"}, {"A00", "A00"},   {"", ""},
  };
  EXPECT_EQ(AdvanceNumber("99999999999999999999"), "100000000000000000000");
  for (const auto& [before, after] : cases) EXPECT_EQ(AdvanceNumber(before), after) << before;
}

TEST(RulesTest, FirstCharacterLengthKeepsDoubleByteCharactersWhole) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"", 0},         {"AB", 1},       {"\xB1\xB2", 1}, {"\x82\xA0X", 2},
      {"\x9F\x40", 2}, {"\xE0\x40", 2}, {"\xFC\x40", 2}, {"\x81", 1},
      {"\xA0\x40", 1}, {"\xFD\x40", 1}, {"\x80\x40", 1},
  };
  for (const auto& [text, length] : cases) EXPECT_EQ(FirstCharacterLength(text), length) << text;
}

// A zeroed time would stamp every line 00:00:00.
TEST(RulesTest, TheClockReadsTheLocalDate) {
  EXPECT_GE(CurrentLocalTime().tm_mday, 1);
}

// Steps: I (idle report), B (busy report), P (idle report with an input line active), S (speed),
// D (decoded) are posted; R rests, W wakes; ">X" says X is passed on by the step.
TEST(StatusCoalescerTest, PassesWhatTheWindowNeeds) {
  const std::map<char, platform::PostedMessage> messages = {{'I', {WM_KEYER_STATUS, 15, 0x0F}},
                                                            {'B', {WM_KEYER_STATUS, 3, 0x0F}},
                                                            {'P', {WM_KEYER_STATUS, 15, 0x0E}},
                                                            {'S', {WM_KEYER_SPEED, 30, 0}},
                                                            {'D', {WM_KEYER_DECODED, 0, 0}}};
  const char* const cases[] = {
      "I>I I>I I>I",     "I>I R I I",           "R I>I I", "I>I R B>B B I>I", "P>P R P>P P>P",
      "I>I R S>S D>D I", "I>I R I I W>I W I>I", "I>I R W", "I>I R I B>B W",   "I>I R B>B W I>I",
  };
  for (const char* steps : cases) {
    SCOPED_TRACE(steps);
    platform::RecordingWindow window;
    StatusCoalescer coalescer(window);
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
      if (step[0] == 'R') coalescer.Rest();
      if (step[0] == 'W') coalescer.Wake();
      if (messages.count(step[0]) != 0) {
        const platform::PostedMessage& posted = messages.at(step[0]);
        coalescer.Post(posted.message, posted.wParam, posted.lParam);
      }
      std::vector<platform::PostedMessage> passed;
      if (step.size() == 3) passed.push_back(messages.at(step[2]));
      EXPECT_EQ(window.Take(), passed) << step;
    }
  }
}

}  // namespace
}  // namespace vantrel::operating
