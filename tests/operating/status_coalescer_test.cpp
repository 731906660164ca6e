#include <gtest/gtest.h>

#include <sstream>

#include "keyer/keyer_messages.h"
#include "operating/status_coalescer.h"
#include "support/test_doubles.h"

namespace vantrel::operating {
namespace {

using platform::PostedMessage;

// Steps: I (idle report), B (busy report), P (idle report with an input line active), S (speed),
// D (decoded) are posted; R rests, W wakes; ">X" says X is passed on by the step.
TEST(StatusCoalescerTest, PassesWhatTheWindowNeeds) {
  const std::map<char, PostedMessage> messages = {{'I', {WM_KEYER_STATUS, 15, 0x0F}},
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
        const PostedMessage& posted = messages.at(step[0]);
        coalescer.Post(posted.message, posted.wParam, posted.lParam);
      }
      std::vector<PostedMessage> passed;
      if (step.size() == 3) passed.push_back(messages.at(step[2]));
      EXPECT_EQ(window.Take(), passed) << step;
    }
  }
}

}  // namespace
}  // namespace vantrel::operating
