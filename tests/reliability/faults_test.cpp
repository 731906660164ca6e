#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>

#include "session_rig.h"

namespace vantrel::reliability {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kPlain[] = "LogTime FALSE\nWPM 25\nWeightDot 1.5\nPttdAfter 150\n";
constexpr char kPtt[] = "LogTime FALSE\nPTTCtrl TRUE\nPttdBefore 30\nPttdAfter 120\n";
constexpr char kCq[] = "LogTime FALSE\nFnMsgA01 CQ\nCqLoopInterval 1\n";

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// After a fault: nothing keyed at the interface and no reader left. Then the interface comes
// back, the next character reopens the link, every setting reaches the interface again and
// exactly one reader runs; the character is keyed and released.
void ExpectRecovery(SessionRig& rig, unsigned version) {
  ASSERT_TRUE(rig.RunMs(600));
  EXPECT_TRUE(rig.Released());
  EXPECT_TRUE(WaitReal([&] { return rig.Engine().ReaderThreadCount() == 0; }));
  EXPECT_EQ(rig.Engine().FirmwareVersion(), 0u);

  rig.sim.Plug();
  rig.sim.ClearHistory();
  ASSERT_TRUE(rig.RunMs(10));
  rig.FocusInput();
  rig.Type("e");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Quiet(); }, 5000));
  ASSERT_TRUE(rig.RunMs(300));
  EXPECT_EQ(rig.Engine().FirmwareVersion(), version);
  EXPECT_TRUE(WaitReal([&] { return rig.Engine().ReaderThreadCount() == 1; }));
  EXPECT_EQ(rig.Engine().ReaderThreadCount(), 1u);
  if (version >= 20) {
    EXPECT_EQ(LastSettings(rig.sim.Commands()), LastSettings(rig.startCommands));
  }
  EXPECT_FALSE(rig.sim.Transitions().empty());
  EXPECT_TRUE(rig.Released());
}

class EveryFirmware : public testing::TestWithParam<unsigned> {};

TEST_P(EveryFirmware, UnplugWhileIdle) {
  SessionRig rig(GetParam());
  rig.Open(kPlain);
  ASSERT_TRUE(rig.RunMs(50));
  rig.sim.Unplug();
  ExpectRecovery(rig, GetParam());
}

// The cable goes while the host's next write is on its way: the typed character's or the
// reply to a report below firmware 20.
TEST_P(EveryFirmware, UnplugDuringAWrite) {
  SessionRig rig(GetParam());
  rig.Open(kPlain);
  rig.FocusInput();
  const int writesBefore = rig.bus.Writes();
  rig.bus.UnplugAtWrite(1);
  rig.Type("t");
  ASSERT_TRUE(rig.RunUntil([&] { return !rig.sim.IsPlugged(); }, 1000));
  EXPECT_GT(rig.bus.Writes(), writesBefore);
  ExpectRecovery(rig, GetParam());
}

TEST_P(EveryFirmware, UnplugWhileTheCqRepeatPauses) {
  SessionRig rig(GetParam());
  rig.Open(kCq);
  rig.FocusInput();
  rig.Key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(rig.RunUntil([&] { return rig.window->Logic().State().CqTimer; }, 10000));
  rig.sim.Unplug();
  ASSERT_TRUE(rig.RunMs(1500));
  EXPECT_TRUE(rig.Released());
  ExpectRecovery(rig, GetParam());
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, 0);
}

// Pulled and put back while the setup dialog is open; the dialog is then confirmed.
TEST_P(EveryFirmware, UnplugAndReplugDuringTheSetupDialog) {
  SessionRig rig(GetParam());
  rig.Open(kPlain);
  bool pulled = false;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    rig.sim.Unplug();
    pulled = rig.RunMs(100) && rig.Released();
    rig.sim.Plug();
    rig.RunMs(10);
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  rig.Click(ui::kIdSetup);
  EXPECT_TRUE(pulled);
  rig.sim.Unplug();
  ExpectRecovery(rig, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Firmware, EveryFirmware, testing::Values(10u, 20u, 22u, 23u));

TEST(Faults, UnplugMidCharacterAtFirmware23) {
  for (int offsetMs : {0, 7, 23, 61}) {
    SessionRig rig(23);
    rig.Open(kPlain);
    rig.FocusInput();
    rig.Type("test");
    ASSERT_TRUE(rig.RunUntil([&] { return rig.sim.IsOn(sim::Line::Key); }, 2000));
    ASSERT_TRUE(rig.RunMs(offsetMs));
    rig.sim.Unplug();
    ExpectRecovery(rig, 23);
  }
}

enum class PttPhase { LeadIn, Element, Tail };

class PcKeyedPtt : public testing::TestWithParam<PttPhase> {};

// Firmware 10: the host times every element and the PTT around them.
TEST_P(PcKeyedPtt, UnplugAtFirmware10) {
  SessionRig rig(10);
  rig.Open(kPtt);
  rig.FocusInput();
  rig.Type("t");
  bool keyed = false;
  auto reached = [&] {
    const bool key = rig.sim.IsOn(sim::Line::Key);
    const bool ptt = rig.sim.IsOn(sim::Line::Ptt);
    keyed = keyed || key;
    switch (GetParam()) {
      case PttPhase::LeadIn:
        return ptt && !key;
      case PttPhase::Element:
        return key;
      case PttPhase::Tail:
        return keyed && ptt && !key;
    }
    return false;
  };
  ASSERT_TRUE(rig.RunUntil(reached, 2000));
  ASSERT_TRUE(rig.RunMs(3));
  rig.sim.Unplug();
  ExpectRecovery(rig, 10);
}

INSTANTIATE_TEST_SUITE_P(Phases, PcKeyedPtt,
                         testing::Values(PttPhase::LeadIn, PttPhase::Element, PttPhase::Tail));

enum class ExitFault { UnplugBefore, UnplugDuringStop, ReplugBeforeTeardown };

struct ExitCase {
  unsigned version;
  ExitFault fault;
};

class FaultAtExit : public testing::TestWithParam<ExitCase> {};

// Exit while a text is keyed: the settings are saved, the window and the engine go, nothing
// stays keyed and no thread is left behind, even when teardown reopens the interface.
TEST_P(FaultAtExit, LeavesNothingKeyedAndNoThread) {
  const std::size_t threadsBefore = VantrelThreadCount();
  SessionRig rig(GetParam().version);
  rig.Open(kPtt);
  rig.FocusInput();
  rig.Type("test");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.sim.IsOn(sim::Line::Key); }, 2000));
  switch (GetParam().fault) {
    case ExitFault::UnplugBefore:
    case ExitFault::ReplugBeforeTeardown:
      rig.sim.Unplug();
      break;
    case ExitFault::UnplugDuringStop:
      rig.bus.UnplugAtWrite(1);
      break;
  }
  rig.Click(ui::kIdExit);
  EXPECT_FALSE(rig.window->isVisible());
  if (GetParam().fault == ExitFault::ReplugBeforeTeardown) rig.sim.Plug();
  const auto start = Clock::now();
  rig.window.reset();
  std::printf("[ teardown ] %.1f ms\n", MsSince(start));
  EXPECT_TRUE(rig.Released());
  EXPECT_TRUE(std::filesystem::exists(rig.dir.path() / "Vantrel.cfg"));
  EXPECT_TRUE(WaitReal([&] { return VantrelThreadCount() <= threadsBefore; }))
      << VantrelThreadCount() << " threads, " << threadsBefore << " before";
}

INSTANTIATE_TEST_SUITE_P(Exit, FaultAtExit,
                         testing::Values(ExitCase{10, ExitFault::UnplugBefore},
                                         ExitCase{10, ExitFault::UnplugDuringStop},
                                         ExitCase{10, ExitFault::ReplugBeforeTeardown},
                                         ExitCase{23, ExitFault::UnplugBefore},
                                         ExitCase{23, ExitFault::UnplugDuringStop},
                                         ExitCase{23, ExitFault::ReplugBeforeTeardown}));

class SilentDevice : public testing::TestWithParam<unsigned> {};

// An interface that stops answering: reads only time out and writes go nowhere. Typing, the
// stop and the exit still return, and teardown ends.
TEST_P(SilentDevice, ExitAndTeardownComplete) {
  SessionRig rig(GetParam());
  rig.Open(kPtt);
  ASSERT_TRUE(rig.RunMs(20));
  rig.bus.SetSilent(true);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  rig.FocusInput();
  rig.Type("e");
  rig.timers.AdvanceMs(500);
  const auto start = Clock::now();
  rig.Click(ui::kIdExit);
  const double exitMs = MsSince(start);
  rig.window.reset();
  std::printf("[ silent   ] firmware %u: exit %.1f ms, exit and teardown %.1f ms\n", GetParam(),
              exitMs, MsSince(start));
  EXPECT_TRUE(std::filesystem::exists(rig.dir.path() / "Vantrel.cfg"));
}

INSTANTIATE_TEST_SUITE_P(Firmware, SilentDevice, testing::Values(10u, 23u));

}  // namespace
}  // namespace vantrel::reliability
