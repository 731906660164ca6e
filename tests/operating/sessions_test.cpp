#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

// Typing, the pacing of queued text on the status reports, and the send, stop and clear buttons.
TEST(SendingTest, Sessions) {
  RunSessions("sending.txt");
}

// Function keys and their banks, macros, the CQ repeat and the hot keys.
TEST(MemoriesTest, Sessions) {
  RunSessions("memories.txt");
}

// The engine's notifications, text from a network client, and when the window may rest.
TEST(NotificationsTest, Sessions) {
  RunSessions("notifications.txt");
}

}  // namespace
}  // namespace vantrel::operating
