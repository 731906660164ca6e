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

}  // namespace
}  // namespace vantrel::ui::rig
