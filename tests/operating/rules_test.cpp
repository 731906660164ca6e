#include <gtest/gtest.h>

#include <sstream>

#include "keyer/keyer_messages.h"
#include "operating/macro_expander.h"
#include "operating/operating_logic.h"
#include "operating/pacer.h"
#include "settings/data_table.h"
#include "support/test_doubles.h"

namespace vantrel::operating {
namespace {

TEST(RulesTest, ExpandMacrosInOrderEachLaterTokenSeenInTheEarlierOnes) {
  for (const auto& row : ReadTable(VANTREL_OPERATING_DATA "/macros.txt")) {
    const MacroExpansion result = ExpandMacros(row[0], {row[1], row[2], std::stoi(row[3]), row[4]});
    EXPECT_EQ(result.text, row[5]) << row[0];
    EXPECT_EQ(result.numberUsed, row[6] == "1") << row[0];
  }
  EXPECT_EQ(WithoutProsignMarks("~~A~ ~BK"), "A BK");
}

TEST(RulesTest, AdvanceNumberKeepsTheWidth) {
  for (const auto& row : ReadTable(VANTREL_OPERATING_DATA "/numbers.txt"))
    EXPECT_EQ(AdvanceNumber(row[0]), row[1]) << row[0];
}

TEST(RulesTest, FirstCharacterLengthKeepsDoubleByteCharactersWhole) {
  for (const auto& row : ReadTable(VANTREL_OPERATING_DATA "/first_characters.txt"))
    EXPECT_EQ(FirstCharacterLength(row[0]), std::stoul(row[1])) << row[0];
}

// A zeroed time would stamp every line 00:00:00.
TEST(RulesTest, TheClockReadsTheLocalDate) {
  EXPECT_GE(CurrentLocalTime().tm_mday, 1);
}

// Each row of the table a run of steps.
TEST(StatusCoalescerTest, PassesWhatTheWindowNeeds) {
  const std::map<char, platform::PostedMessage> messages = {{'I', {WM_KEYER_STATUS, 15, 0x0F}},
                                                            {'B', {WM_KEYER_STATUS, 3, 0x0F}},
                                                            {'P', {WM_KEYER_STATUS, 15, 0x0E}},
                                                            {'S', {WM_KEYER_SPEED, 30, 0}},
                                                            {'D', {WM_KEYER_DECODED, 0, 0}}};
  for (const auto& row : ReadTable(VANTREL_OPERATING_DATA "/coalescer.txt")) {
    SCOPED_TRACE(row[0]);
    platform::RecordingWindow window;
    StatusCoalescer coalescer(window);
    std::istringstream in(row[0]);
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
