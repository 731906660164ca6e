#include <QCoreApplication>

#include <gtest/gtest.h>

#include "keyer/morse_code.h"
#include "sim_window_rig.h"
#include "status_counter.h"

namespace vantrel::ui::rig {
namespace {

// An idle window is not woken by the interface's status reports (200 a second here), yet a
// typed character goes out at once on the last report held back, and the pacing of the
// characters after it still waits three reports each.
TEST(IdleWindow, SleepsThroughRepeatedStatusReportsAndStillSendsAtOnce) {
  SimWindowRig rig(23);
  rig.Open("LogTime FALSE\n");
  rig.FocusInput();
  StatusCounter counter;
  rig.window->installEventFilter(&counter);
  rig.RunMs(1000);
  EXPECT_EQ(counter.handled, 0);

  const platform::Micros typedAt = rig.timers.Now();
  rig.Type("e");
  QCoreApplication::sendPostedEvents();
  auto sent = rig.Commands(sim::CmdSendCodes);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].at, typedAt);
  EXPECT_EQ(sent[0].bytes[2], keyer::kBuiltinCodes[keyer::FindCharacterIndex('E')]);

  rig.Type("st");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.window->Logic().State().PendingText.empty(); }, 1000));
  sent = rig.Commands(sim::CmdSendCodes);
  ASSERT_EQ(sent.size(), 3u);
  for (std::size_t i = 1; i < sent.size(); ++i) EXPECT_GE(sent[i].at - sent[i - 1].at, 15'000);

  ASSERT_TRUE(rig.RunUntil([&] { return rig.sim.BufferState() == 15; }, 5000));
  rig.RunMs(20);
  counter.handled = 0;
  rig.RunMs(1000);
  EXPECT_EQ(counter.handled, 0);
}

}  // namespace
}  // namespace vantrel::ui::rig
