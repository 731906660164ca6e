#include <gtest/gtest.h>

#include <QThreadPool>
#include <QTimer>

#include <cstdlib>
#include <latch>
#include <memory>
#include <random>
#include <string>

#include "keyer/morse_code.h"
#include "settings/dialog_driver.h"
#include "settings/settings_file.h"
#include "ui/setup_dlg_ids.h"
#include "ui/sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

// An operator pressing keys and buttons at random, a paddle and a speed knob at the interface,
// and a cable that comes and goes.
class RandomOperator {
 public:
  RandomOperator(SimWindowRig& rig, unsigned seed) : rig_(rig), random_(seed) {}

  // One action, then the clock moved on by 0 to 60 ms (now and then up to 1.5 s). False on a hang.
  bool Act() {
    Do(Pick(100));
    return rig_.RunMs(Pick(10) == 0 ? 200 + Pick(1300) : Pick(60));
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  void Do(int roll) {
    static constexpr Qt::Key kSpeedKeys[] = {Qt::Key_Q, Qt::Key_S, Qt::Key_W};
    if (roll < 30) return TypeCharacters();
    if (roll < 36) return Key(Qt::Key_Return);
    if (roll < 41) return Key(Qt::Key_Escape);
    if (roll < 53) {
      const auto key = static_cast<Qt::Key>(Qt::Key_F1 + Pick(12));
      return Key(key, Pick(2) ? Qt::ControlModifier : Qt::NoModifier);
    }
    if (roll < 59) return Key(kSpeedKeys[Pick(3)], Qt::ControlModifier);
    if (roll < 62) return rig_.Click(Pick(2) ? kIdSequential : kIdBlock);
    if (roll < 66) return Key(Qt::Key_Z, Qt::ControlModifier);
    if (roll < 69) return RunSetup();
    if (roll < 80) {
      const std::uint8_t code = keyer::kBuiltinCodes[Pick(126)];
      return rig_.sim.ReportDecoded(code == 0 ? 0x60 : code);
    }
    if (roll < 86) return rig_.sim.SendSpeedReport(static_cast<std::uint8_t>(5 + Pick(200)));
    if (roll < 88) return rig_.Click(kIdStop);
    if (roll < 90 && rig_.Control(kIdDecode)->isEnabled()) return rig_.Click(kIdDecode);
    if (roll >= 90 && roll < 94) return Cable();
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    rig_.FocusInput();
    rig_.Key(key, modifiers);
  }

  void TypeCharacters() {
    static constexpr char kKeys[] = "abcdefghijklmnopqrstuvwxyz0123456789 /?.,=";
    rig_.FocusInput();
    for (int n = 1 + Pick(6); n > 0; --n) {
      rig_.Type(std::string(1, kKeys[Pick(sizeof kKeys - 1)]),
                Pick(8) ? Qt::NoModifier : Qt::ShiftModifier);
    }
  }

  void Cable() {
    if (!rig_.sim.IsPlugged()) {
      rig_.bus.unplugAtWrite = 0;
      rig_.sim.Plug();
    } else if (Pick(2)) {
      rig_.sim.Unplug();
    } else {
      rig_.bus.unplugAtWrite = 1 + Pick(3);
    }
  }

  // The setup dialog with a few values changed, confirmed or cancelled. Message boxes about
  // the values are answered.
  void RunSetup() {
    QTimer::singleShot(0, [this] {
      DialogDriver dialog(rig_.window->Setup());
      for (int n = Pick(4); n > 0; --n) ChangeOne(dialog);
      QWidget* modal = QApplication::activeModalWidget();
      if (modal) QTest::keyClick(modal, Pick(2) ? Qt::Key_Return : Qt::Key_Escape);
    });
    ModalTextsDuring([this] { rig_.Click(kIdSetup); });
  }

  void ChangeOne(DialogDriver& dialog) {
    const int pick = Pick(9), value = Pick(1000);
    if (pick == 7) return dialog.Click(kIdPttCtrl);
    if (pick == 8) return dialog.Click(kIdLogTime);
    const std::pair<int, QString> typed[] = {
        {kIdCqLoopInterval, QString::number(0.2 + value % 20 / 10.0)},
        {kIdPttdBefore, QString::number(value % 60)},
        {kIdPttdAfter, QString::number(value % 250)},
        {kIdWeightDot, QString::number(1 + value % 10 / 10.0)},
        {kIdMyCall, value % 2 ? "JA1ZZZ" : "N0CALL"},
        {MessageEditId(1 + value % 10), value % 2 ? "CQ DE $M" : "TU $N"},
        {kIdNumber, QString::number(1 + value % 999)}};
    dialog.Type(typed[pick].first, typed[pick].second);
  }

  SimWindowRig& rig_;
  std::mt19937 random_;
};

constexpr char kSessionSettings[] =
    "LogTime FALSE\nFnMsgA01 CQ TEST\nFnMsgA02 5NN\nFnMsgB01 TU\nCqLoopInterval 0.5\n"
    "PTTCtrl TRUE\nPttdBefore 20\nPttdAfter 60\n";
constexpr std::size_t kPendingLimit = 4096;
constexpr int kLogLimit = 65536;

unsigned long EnvNumber(const char* name, unsigned long fallback) {
  const char* text = std::getenv(name);
  return text ? std::strtoul(text, nullptr, 10) : fallback;
}

// Qt's raster painting shares large fills out to the global thread pool, which starts a worker
// when all are busy (up to one per core) and ends one after 30 s idle; each worker holds an
// event descriptor. Every worker started at once and kept leaves the count to the program.
void StartEveryPaintWorker() {
  QThreadPool& pool = *QThreadPool::globalInstance();
  pool.setExpiryTimeout(-1);
  const int workers = pool.maxThreadCount();
  // Each task holds its worker until every worker has one; waitForDone would end them all.
  auto allStarted = std::make_shared<std::latch>(workers);
  for (int i = 0; i < workers; ++i) pool.start([allStarted] { allStarted->arrive_and_wait(); });
  allStarted->wait();
}

std::size_t OpenFdCount() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

class RandomSession : public testing::TestWithParam<unsigned> {};

// The invariants hold after every action; after the exit the settings file holds exactly the
// settings in memory (what lives only in memory is not written).
TEST_P(RandomSession, HoldsEveryInvariant) {
  const unsigned version = GetParam();
  const long actions = static_cast<long>(EnvNumber("VANTREL_SOAK_ACTIONS", 2000));
  const unsigned seed = static_cast<unsigned>(EnvNumber("VANTREL_SOAK_SEED", 1)) * 100 + version;
  StartEveryPaintWorker();
  SimWindowRig rig(version);
  rig.Open(kSessionSettings);
  RandomOperator anOperator(rig, seed);
  // Descriptors opened for a moment on threads of their own (the sanitizers' symbolizer, for
  // one) are waited out.
  const std::size_t fds = OpenFdCount();
  const std::size_t threads = VantrelThreadCount() - rig.Engine().ReaderThreadCount();

  for (long action = 0; action < actions && !HasFailure(); ++action) {
    SCOPED_TRACE("replay: VANTREL_SOAK_SEED seed " + std::to_string(seed) + ", firmware " +
                 std::to_string(version) + ", action " + std::to_string(action));
    ASSERT_TRUE(anOperator.Act()) << "the interface's reports were not taken";
    if (rig.NothingQueued()) {
      EXPECT_TRUE(rig.RunUntil([&] { return rig.Released() || !rig.NothingQueued(); }, 2000))
          << "key or PTT held with nothing queued or playing";
    }
    EXPECT_LE(rig.Pending().size(), kPendingLimit);
    EXPECT_LE(rig.window->LogText().size() + rig.LogShown().size(), 2u * kLogLimit);
    EXPECT_TRUE(QTest::qWaitFor([&] { return OpenFdCount() == fds; }, 2000))
        << OpenFdCount() << " descriptors open, " << fds << " at the start";
    // A retired reader (its interface lost) ends on its own, maybe after the next one started.
    EXPECT_TRUE(QTest::qWaitFor([&] {
      const std::size_t readers = rig.Engine().ReaderThreadCount();
      return readers <= 1 && VantrelThreadCount() - readers == threads;
    })) << VantrelThreadCount()
        << " threads, " << rig.Engine().ReaderThreadCount() << " readers";
  }

  rig.FocusInput();
  rig.Click(kIdExit);
  const std::string inMemory = settings::FormatSettings(rig.window->Setup());
  rig.window.reset();
  EXPECT_EQ(rig.dir.Read(settings::kSettingsFileName), inMemory) << "seed " << seed;
}

INSTANTIATE_TEST_SUITE_P(Firmware, RandomSession, testing::Values(10u, 20u, 22u, 23u));

}  // namespace
}  // namespace vantrel::ui::rig
