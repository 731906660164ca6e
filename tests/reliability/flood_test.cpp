#include <gtest/gtest.h>

#include <algorithm>

#include "ui/sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

// The reader posts a status notification for every report, here as fast as it can read. The
// window must keep up: the notifications waiting for it stop growing, typed keys and queued
// calls are still taken, and once the flood ends every notification is handled.
TEST(Flood, TheWindowKeepsUpAndStaysResponsive) {
  SimWindowRig rig(23);
  rig.Open();
  StatusCounter counter;
  rig.window->installEventFilter(&counter);
  rig.bus.silent = true;
  rig.bus.flooding = true;
  long worstBacklog = 0;
  for (int round = 0; round < 20; ++round) {
    QTest::qWait(50);
    worstBacklog = std::max(worstBacklog, rig.bus.floodReads.load() - counter.handled);
    bool ran = false;
    QMetaObject::invokeMethod(
        rig.window.get(), [&] { ran = true; }, Qt::QueuedConnection);
    rig.FocusInput();
    rig.Key(Qt::Key_Escape);
    rig.Type("e");
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 60'000));
  }
  rig.bus.flooding = false;
  // A read already under way when the flood began brings the interface's own report on top.
  ASSERT_TRUE(QTest::qWaitFor([&] { return counter.handled >= rig.bus.floodReads.load(); }, 60000));
  EXPECT_LT(worstBacklog, rig.bus.floodReads.load() / 2);
}

// The simulated interface reporting every 100 µs: three reports pass before the interface shows
// the handed-over character in its buffer, so the pacing rule finds it idle and abandons the
// rest of the queue. Nothing stays queued or keyed.
TEST(Flood, StatusEveryHundredMicrosecondsAbandonsTheQueueCleanly) {
  SimWindowRig rig(23, 100);
  rig.Open("LogTime FALSE\n");
  rig.FocusInput();
  rig.Type("cq test");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Quiet(); }, 20'000));
  ASSERT_TRUE(rig.RunMs(300));
  EXPECT_GE(rig.Commands(sim::CmdSendCodes).size(), 1u);
  EXPECT_TRUE(rig.Pending().empty());
  EXPECT_TRUE(rig.Released());
}

}  // namespace
}  // namespace vantrel::ui::rig
