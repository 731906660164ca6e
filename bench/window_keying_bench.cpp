// PC-timed keying inside the running window: firmware 10 on the simulated interface, the real
// timer thread, "PARIS " typed into the input line while the log grows. Each key and PTT
// transition is compared with where the engine alone, on a manual clock, puts it; the same run
// on timers that re-arm from each late firing is the reference.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "bare_sleeper.h"
#include "bench_table.h"
#include "firing_relative_timers.h"
#include "keyer/cw_device.h"
#include "lateness_probe_timers.h"
#include "no_devices.h"
#include "platform/linux/timer_thread.h"
#include "sim/sim_bus.h"
#include "sim_window.h"
#include "support/manual_timer.h"
#include "support/test_doubles.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;
using vantrel::platform::Micros;

constexpr unsigned kWpm = 50;
constexpr unsigned kPttBefore = 25;
constexpr unsigned kPttAfter = 200;
// Faster than 50 WPM keys them, so the engine never runs out of text mid-run.
constexpr int kTypingIntervalMs = 100;
constexpr int kLogIntervalMs = 20;
const std::string kSettings =
    "WPM 50\nPTTCtrl TRUE\nPttdBefore 25\nPttdAfter 200\n"
    "WeightDot 1\nWeightDash 3\nIntervalChar 3\nIntervalWord 7\n"
    "SideTone FALSE\nLogTime FALSE\nAuto FALSE\n";

class LineRecorder {
 public:
  explicit LineRecorder(const vantrel::platform::TimerService& clock) : clock_(clock) {}
  void Note() {
    std::lock_guard lock(mutex_);
    times_.push_back(clock_.Now());
  }
  std::size_t Count() const {
    std::lock_guard lock(mutex_);
    return times_.size();
  }
  std::vector<Micros> Take() const {
    std::lock_guard lock(mutex_);
    return times_;
  }

 private:
  const vantrel::platform::TimerService& clock_;
  mutable std::mutex mutex_;
  std::vector<Micros> times_;
};

std::string ParisText() {
  std::string text;
  for (int i = 0; i < 20; ++i) text += "PARIS ";
  return text;
}

// Transition times as the engine alone keys the text on a manual clock, handed over one
// character at a time as the window does at firmware 10: a typed space follows the character
// space of the letter before it.
std::vector<Micros> IdealTimes(const std::string& text) {
  vantrel::bench::NoDevices bus;
  vantrel::platform::ManualTimerService timers;
  vantrel::platform::NullToneOutput tone;
  vantrel::platform::RecordingKeyInjector keys;
  LineRecorder recorder(timers);
  vantrel::keyer::CCwDevice device({bus, timers, tone, keys, "/nonexistent", 50});
  device.SetLinesObserver([&recorder](std::uint8_t) { recorder.Note(); });
  device.SetSpeed(kWpm);
  device.SetPttControl(true);
  device.SetPttDelayBefore(kPttBefore);
  device.SetPttDelayAfter(kPttAfter);
  for (char c : text) device.SendText(std::string(1, c));
  timers.AdvanceMs(600'000);
  return recorder.Take();
}

struct Figures {
  std::size_t transitions = 0;
  vantrel::bench::Summary error;
  double drift = 0;
};

Figures Compare(const std::vector<Micros>& ideal, const std::vector<Micros>& actual) {
  Figures f;
  f.transitions = std::min(ideal.size(), actual.size());
  std::vector<double> errors;
  for (std::size_t i = 0; i < f.transitions; ++i) {
    const double error = static_cast<double>((actual[i] - actual[0]) - (ideal[i] - ideal[0]));
    errors.push_back(std::abs(error));
    f.drift = error;
  }
  f.error = vantrel::bench::Summarise(errors);
  return f;
}

struct RunResult {
  Figures engine;
  Figures wire;
  vantrel::bench::Summary timerLateness;
  vantrel::bench::Summary bareLateness;
};

// Types the text and grows the log until the engine has made every transition of `ideal`.
RunResult RunWindow(const std::string& text, const std::vector<Micros>& ideal, bool reference) {
  vantrel::platform::ThreadTimerService timers;
  vantrel::bench::LatenessProbeTimers probe(timers);
  vantrel::bench::FiringRelativeTimers relative(probe);
  vantrel::platform::TimerService& windowTimers =
      reference ? static_cast<vantrel::platform::TimerService&>(relative) : probe;
  // The interface on a thread of its own, as in the program; each series is measured from its
  // own first transition, so the two clocks need not agree.
  vantrel::platform::ThreadTimerService simTimers("vantrel-sim");
  vantrel::sim::SimBus bus;
  vantrel::sim::SimInterface& sim = bus.Attach(simTimers, {.firmwareVersion = 10});
  vantrel::bench::SimWindow rig(bus, windowTimers, kSettings);
  LineRecorder recorder(timers);
  rig.Window().Engine().SetLinesObserver([&recorder](std::uint8_t) { recorder.Note(); });
  vantrel::bench::RunEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  sim.ClearHistory();

  std::size_t typed = 0;
  QTimer typist;
  QObject::connect(&typist, &QTimer::timeout, [&] {
    if (typed == text.size()) return typist.stop();
    QTest::keyClick(rig.InputLine(), text[typed++]);
  });
  QTimer logger;
  QObject::connect(&logger, &QTimer::timeout, [&] {
    rig.Window().InsertAtLogEnd("PARIS ");
    rig.Window().ShowLogEnd();
  });
  vantrel::bench::BareSleeper bare;
  typist.start(kTypingIntervalMs);
  logger.start(kLogIntervalMs);
  vantrel::bench::RunEventsUntil([&] { return recorder.Count() >= ideal.size(); },
                                 std::chrono::seconds(90));
  // The interface follows the engine's last change at its next poll.
  vantrel::bench::RunEventsUntil([] { return false; }, std::chrono::milliseconds(50));
  std::vector<Micros> wire;
  for (const auto& transition : sim.Transitions()) wire.push_back(transition.at);
  return {Compare(ideal, recorder.Take()), Compare(ideal, wire),
          vantrel::bench::Summarise(probe.Lateness()), vantrel::bench::Summarise(bare.Stop())};
}

void Print(const std::string& timers, const std::string& where, const Figures& f, bool targets) {
  const std::string name = "keying fw10 window";
  const std::string prefix = timers + ", " + where + ": ";
  PrintRow(name, prefix + "transitions", std::to_string(f.transitions));
  PrintRow(name, prefix + "error p50", Figure(f.error.p50, "us"));
  PrintRow(name, prefix + "error p99", Figure(f.error.p99, "us"), targets ? "< 500 us" : "");
  PrintRow(name, prefix + "error max", Figure(f.error.max, "us"), targets ? "< 2000 us" : "");
  PrintRow(name, prefix + "drift at end", Figure(f.drift, "us"), targets ? "|x| < 1000 us" : "");
}

}  // namespace

int main(int argc, char** argv) {
  vantrel::bench::UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  const std::string text = ParisText();
  const std::vector<Micros> ideal = IdealTimes(text);
  const RunResult ours = RunWindow(text, ideal, false);
  const RunResult reference = RunWindow(text, ideal, true);

  vantrel::bench::PrintHeader();
  vantrel::bench::PrintRow("keying fw10 window", "ideal transitions", std::to_string(ideal.size()));
  Print("ours", "engine", ours.engine, true);
  Print("ours", "interface", ours.wire, false);
  const vantrel::bench::Summary& late = ours.timerLateness;
  PrintRow("keying fw10 window", "ours: timer thread wake-up late p50", Figure(late.p50, "us"));
  PrintRow("keying fw10 window", "ours: timer thread wake-up late p99", Figure(late.p99, "us"));
  PrintRow("keying fw10 window", "ours: timer thread wake-up late max", Figure(late.max, "us"));
  const vantrel::bench::Summary& bare = ours.bareLateness;
  PrintRow("keying fw10 window", "beside ours: bare thread wake-up late p50",
           Figure(bare.p50, "us"));
  PrintRow("keying fw10 window", "beside ours: bare thread wake-up late p99",
           Figure(bare.p99, "us"));
  PrintRow("keying fw10 window", "beside ours: bare thread wake-up late max",
           Figure(bare.max, "us"));
  Print("reference", "engine", reference.engine, false);
  Print("reference", "interface", reference.wire, false);
  const auto ratio = [](double a, double b) { return b != 0 ? a / b : 0.0; };
  vantrel::bench::PrintRow("keying fw10 window", "ours/reference, engine: p99 ratio",
                           Figure(ratio(ours.engine.error.p99, reference.engine.error.p99), "", 3));
  vantrel::bench::PrintRow(
      "keying fw10 window", "ours/reference, engine: |drift| ratio",
      Figure(std::abs(ratio(ours.engine.drift, reference.engine.drift)), "", 3));
  return 0;
}
