#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "session_rig.h"

namespace vantrel::reliability {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The reader posts a status notification for every report. The window must keep up: the
// notifications waiting for it stop growing, typed keys and queued calls are still taken, and
// once the flood ends every notification is handled.
TEST(Flood, TheWindowKeepsUpAndStaysResponsive) {
  SessionRig rig(23);
  rig.Open();
  CMainDlg* window = rig.window.get();
  auto& bus = rig.bus;
  ui::rig::StatusCounter counter;
  window->installEventFilter(&counter);
  // Writes vanish and reads are all flood, as with an interface that does nothing but report.
  bus.silent = true;
  bus.flooding = true;
  long worstBacklog = 0;
  double worstKeyMs = 0;
  double worstQueuedMs = 0;
  const auto start = Clock::now();
  for (int round = 0; round < 20; ++round) {
    QTest::qWait(50);
    worstBacklog = std::max(worstBacklog, bus.floodReads.load() - counter.handled);
    const auto posted = Clock::now();
    bool ran = false;
    QMetaObject::invokeMethod(
        window,
        [&] {
          ran = true;
          worstQueuedMs = std::max(worstQueuedMs, MsSince(posted));
        },
        Qt::QueuedConnection);
    const auto before = Clock::now();
    QTest::mouseClick(window->Control(ui::kIdInput), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), 'e');
    worstKeyMs = std::max(worstKeyMs, MsSince(before));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 60'000));
  }
  const double seconds = MsSince(start) / 1000;
  bus.flooding = false;
  ASSERT_TRUE(QTest::qWaitFor([&] { return counter.handled == bus.floodReads.load(); }, 60000));
  const long reads = bus.floodReads.load();
  std::printf(
      "[ flood    ] %ld reports in %.2f s (%.0f/s), all handled; worst backlog %ld, "
      "worst typed key %.1f ms, worst queued call %.1f ms\n",
      reads, seconds, reads / seconds, worstBacklog, worstKeyMs, worstQueuedMs);
  EXPECT_LT(worstBacklog, reads / 2);
}

// The simulated interface reporting every 100 µs: three reports pass before the interface shows
// the handed-over character in its buffer, so the pacing rule finds it idle and abandons the
// rest of the queue. Nothing stays queued or keyed.
TEST(Flood, StatusEveryHundredMicrosecondsAbandonsTheQueueCleanly) {
  SessionRig rig(23, 100);
  rig.Open("LogTime FALSE\n");
  rig.FocusInput();
  rig.Type("cq test");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Quiet(); }, 20'000));
  ASSERT_TRUE(rig.RunMs(300));
  const std::size_t sent = rig.Commands(sim::CmdSendCodes).size();
  std::printf("[ flood    ] 100 us status: %zu of 7 characters sent, the rest abandoned\n", sent);
  EXPECT_GE(sent, 1u);
  EXPECT_TRUE(rig.Pending().empty());
  EXPECT_TRUE(rig.Released());
}

}  // namespace
}  // namespace vantrel::reliability
