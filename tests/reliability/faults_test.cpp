#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "ui/sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

constexpr char kPlain[] = "LogTime FALSE\nWPM 25\nWeightDot 1.5\nPttdAfter 150\n";
constexpr char kPtt[] = "LogTime FALSE\nPTTCtrl TRUE\nPttdBefore 30\nPttdAfter 120\n";
constexpr char kCq[] = "LogTime FALSE\nFnMsgA01 CQ\nCqLoopInterval 1\n";

// The keyer setting commands the interface received, the last of each code.
std::map<std::uint8_t, sim::Report> LastSettings(
    const std::vector<sim::ReceivedCommand>& commands) {
  static constexpr std::uint8_t kSettingCodes[] = {sim::CmdKeyerParams,   sim::CmdPttDelays,
                                                   sim::CmdSpeed,         sim::CmdPttControl,
                                                   sim::CmdPaddleReverse, sim::CmdModeFlags};
  std::map<std::uint8_t, sim::Report> last;
  for (const auto& command : commands) {
    if (std::ranges::find(kSettingCodes, command.bytes[1]) != std::end(kSettingCodes)) {
      last[command.bytes[1]] = command.bytes;
    }
  }
  return last;
}

// After a fault: nothing keyed at the interface and no reader left. Then the interface comes
// back, the next character reopens the link, every setting reaches the interface again and
// exactly one reader runs; the character is keyed and released and the CQ repeat has ended.
void ExpectRecovery(SimWindowRig& rig, unsigned version) {
  ASSERT_TRUE(rig.RunMs(600));
  EXPECT_TRUE(rig.Released());
  EXPECT_TRUE(QTest::qWaitFor([&] { return rig.Engine().ReaderThreadCount() == 0; }));
  EXPECT_EQ(rig.Engine().FirmwareVersion(), 0u);

  rig.sim.Plug();
  rig.sim.ClearHistory();
  ASSERT_TRUE(rig.RunMs(10));
  rig.FocusInput();
  rig.Type("e");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Quiet(); }, 5000));
  ASSERT_TRUE(rig.RunMs(300));
  EXPECT_EQ(rig.Engine().FirmwareVersion(), version);
  EXPECT_TRUE(QTest::qWaitFor([&] { return rig.Engine().ReaderThreadCount() == 1; }));
  if (version >= 20) {
    EXPECT_EQ(LastSettings(rig.sim.Commands()), LastSettings(rig.startCommands));
  }
  EXPECT_FALSE(rig.sim.Transitions().empty());
  EXPECT_TRUE(rig.Released());
}

// Types `text` and pulls the cable `afterMs` after `reached` first holds.
void UnplugWhen(SimWindowRig& rig, const char* text, int afterMs,
                const std::function<bool()>& reached) {
  rig.FocusInput();
  rig.Type(text);
  ASSERT_TRUE(rig.RunUntil(reached, 2000));
  ASSERT_TRUE(rig.RunMs(afterMs));
  rig.sim.Unplug();
}

struct Scenario {
  std::string name;
  std::vector<unsigned> versions;
  const char* settings;
  std::function<void(SimWindowRig&)> fault;
};

TEST(Faults, UnplugAtEachPointLeavesNothingKeyedAndReconnects) {
  const std::vector<unsigned> every = {10, 20, 22, 23};
  std::vector<Scenario> scenarios = {
      {"idle", every, kPlain,
       [](SimWindowRig& rig) { UnplugWhen(rig, "", 50, [] { return true; }); }},
      // The typed character's write, or the reply to a report below firmware 20.
      {"during the host's next write", every, kPlain,
       [](SimWindowRig& rig) {
         rig.bus.unplugAtWrite = 1;
         UnplugWhen(rig, "t", 0, [&] { return !rig.sim.IsPlugged(); });
       }},
      {"while the CQ repeat pauses", every, kCq,
       [](SimWindowRig& rig) {
         rig.FocusInput();
         rig.Key(Qt::Key_Z, Qt::ControlModifier);
         UnplugWhen(rig, "", 0, [&] { return rig.window->Logic().CqRepeatState().TimerRunning(); });
         ASSERT_TRUE(rig.RunMs(1500));
         EXPECT_TRUE(rig.Released());
       }},
      // Pulled and put back while the setup dialog is open; the dialog is then confirmed.
      {"and replug during the setup dialog", every, kPlain, [](SimWindowRig& rig) {
         bool pulled = false;
         QTimer::singleShot(0, [&] {
           rig.sim.Unplug();
           pulled = rig.RunMs(100) && rig.Released();
           rig.sim.Plug();
           rig.RunMs(10);
           QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
         });
         rig.Click(kIdSetup);
         EXPECT_TRUE(pulled);
         rig.sim.Unplug();
       }}};
  for (int offsetMs : {0, 7, 23, 61}) {
    scenarios.push_back({"mid-character +" + std::to_string(offsetMs) + " ms",
                         {23},
                         kPlain,
                         [offsetMs](SimWindowRig& rig) {
                           UnplugWhen(rig, "test", offsetMs,
                                      [&] { return rig.sim.IsOn(sim::Line::Key); });
                         }});
  }
  // Firmware 10: the host times every element and the PTT around them.
  for (const auto& [phase, keyedFirst, keyNow] : {std::tuple{"PTT lead-in", false, false},
                                                  {"element", false, true},
                                                  {"PTT tail", true, false}}) {
    scenarios.push_back({phase, {10}, kPtt, [keyedFirst, keyNow](SimWindowRig& rig) {
                           bool keyed = false;
                           UnplugWhen(rig, "t", 3, [&, keyedFirst, keyNow] {
                             const bool key = rig.sim.IsOn(sim::Line::Key);
                             keyed = keyed || key;
                             return key == keyNow && (keyNow || rig.sim.IsOn(sim::Line::Ptt)) &&
                                    (!keyedFirst || keyed);
                           });
                         }});
  }
  for (const Scenario& scenario : scenarios) {
    for (unsigned version : scenario.versions) {
      SCOPED_TRACE("unplug " + scenario.name + " at firmware " + std::to_string(version));
      SimWindowRig rig(version);
      rig.Open(scenario.settings);
      scenario.fault(rig);
      ExpectRecovery(rig, version);
    }
  }
}

// Exit while a text is keyed, or with an interface that stops answering (reads only time out,
// writes go nowhere): the settings are saved, the window and the engine go, nothing stays
// keyed and no thread is left behind, even when teardown reopens the interface.
TEST(Faults, ExitWhileKeyingOrSilentLeavesNothingKeyedAndNoThread) {
  enum Fault { UnplugBefore, UnplugDuringStop, ReplugBeforeTeardown, Silent };
  for (unsigned version : {10u, 23u}) {
    for (Fault fault : {UnplugBefore, UnplugDuringStop, ReplugBeforeTeardown, Silent}) {
      SCOPED_TRACE("firmware " + std::to_string(version) + " fault " + std::to_string(fault));
      const std::size_t threadsBefore = VantrelThreadCount();
      SimWindowRig rig(version);
      rig.Open(kPtt);
      rig.FocusInput();
      if (fault == Silent) {
        rig.bus.silent = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        rig.Type("e");
        rig.timers.AdvanceMs(500);
      } else {
        rig.Type("test");
        ASSERT_TRUE(rig.RunUntil([&] { return rig.sim.IsOn(sim::Line::Key); }, 2000));
      }
      if (fault == UnplugDuringStop) rig.bus.unplugAtWrite = 1;
      if (fault == UnplugBefore || fault == ReplugBeforeTeardown) rig.sim.Unplug();
      rig.Click(kIdExit);
      EXPECT_FALSE(rig.window->isVisible());
      if (fault == ReplugBeforeTeardown) rig.sim.Plug();
      rig.window.reset();
      EXPECT_TRUE(fault == Silent || rig.Released());
      EXPECT_TRUE(std::filesystem::exists(rig.dir.path() / "Vantrel.cfg"));
      EXPECT_TRUE(QTest::qWaitFor([&] { return VantrelThreadCount() <= threadsBefore; }))
          << VantrelThreadCount() << " threads, " << threadsBefore << " before";
    }
  }
}

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
