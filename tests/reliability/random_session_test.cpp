#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "random_operator.h"
#include "settings/settings_file.h"

namespace vantrel::reliability {
namespace {

constexpr char kSessionSettings[] =
    "LogTime FALSE\nFnMsgA01 CQ TEST\nFnMsgA02 5NN\nFnMsgB01 TU\nCqLoopInterval 0.5\n"
    "PTTCtrl TRUE\nPttdBefore 20\nPttdAfter 60\n";
constexpr std::size_t kPendingLimit = 4096;
constexpr int kLogLimit = 65536;
// Descriptors a library opens the first time a path is taken and then keeps (a font cache, a
// file watcher); a leak instead raises the count again with each action that leaks.
constexpr int kLastingRisesAllowed = 3;

unsigned long EnvNumber(const char* name, unsigned long fallback) {
  const char* text = std::getenv(name);
  return text ? std::strtoul(text, nullptr, 10) : fallback;
}

// Settings as the file holds them: what lives only in memory is left at its start value.
settings::Settings FilePart(settings::Settings values) {
  const settings::Settings fresh;
  values.AlwaysOnTop = fresh.AlwaysOnTop;
  values.KnownFirmwareVersion = fresh.KnownFirmwareVersion;
  values.MessageFields = fresh.MessageFields;
  values.WorkBankA = fresh.WorkBankA;
  values.WorkBankB = fresh.WorkBankB;
  return values;
}

bool NothingQueued(SessionRig& rig) {
  return rig.Pending().empty() && rig.Engine().ElementString().empty() &&
         rig.Engine().GetKeyingState() == keyer::KeyingState::Idle &&
         (rig.sim.FirmwareVersion() < 20 || !rig.sim.IsPlugged() || rig.sim.BufferState() == 15);
}

class RandomSession : public testing::TestWithParam<unsigned> {};

// The invariants hold after every action; after the exit the settings file holds exactly the
// settings in memory.
TEST_P(RandomSession, HoldsEveryInvariant) {
  const unsigned version = GetParam();
  const long actions = static_cast<long>(EnvNumber("VANTREL_SOAK_ACTIONS", 2000));
  const unsigned seed = static_cast<unsigned>(EnvNumber("VANTREL_SOAK_SEED", 1)) * 100 + version;
  SessionRig rig(version);
  rig.Open(kSessionSettings);
  RandomOperator anOperator(rig, seed);
  // Descriptors opened for a moment on threads of their own (the sanitizers' symbolizer, for
  // one) are waited out; a count that stays above the low raises the low.
  std::size_t fds = OpenFdCount();
  int lastingRises = 0;
  const std::size_t threads = VantrelThreadCount() - rig.Engine().ReaderThreadCount();

  for (long action = 0; action < actions && !HasFailure(); ++action) {
    SCOPED_TRACE("replay: VANTREL_SOAK_SEED seed " + std::to_string(seed) + ", firmware " +
                 std::to_string(version) + ", action " + std::to_string(action));
    ASSERT_TRUE(anOperator.Act()) << "the interface's reports were not taken";
    if (NothingQueued(rig)) {
      EXPECT_TRUE(rig.RunUntil([&] { return rig.Released() || !NothingQueued(rig); }, 2000))
          << "key or PTT held with nothing queued or playing";
    }
    EXPECT_LE(rig.Pending().size(), kPendingLimit);
    EXPECT_LE(rig.window->LogText.size() + rig.LogShown().size(), 2u * kLogLimit);
    if (!WaitReal([&] { return OpenFdCount() <= fds; }, std::chrono::seconds(2))) {
      fds = OpenFdCount();
      EXPECT_LE(++lastingRises, kLastingRisesAllowed) << fds << " fds stay open";
    }
    fds = std::min(fds, OpenFdCount());
    EXPECT_TRUE(WaitReal([&] {
      return VantrelThreadCount() - rig.Engine().ReaderThreadCount() == threads;
    })) << VantrelThreadCount()
        << " threads, " << rig.Engine().ReaderThreadCount() << " readers";
    EXPECT_LE(rig.Engine().ReaderThreadCount(), 1u);
  }

  rig.FocusInput();
  rig.Click(ui::kIdExit);
  const settings::Settings inMemory = rig.window->Setup();
  rig.window.reset();
  settings::Settings reloaded;
  settings::LoadSettings(reloaded, rig.dir.path());
  EXPECT_EQ(FilePart(reloaded), FilePart(inMemory)) << "seed " << seed;
}

INSTANTIATE_TEST_SUITE_P(Firmware, RandomSession, testing::Values(10u, 20u, 22u, 23u));

}  // namespace
}  // namespace vantrel::reliability
