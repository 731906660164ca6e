// PC-timed keying inside the running window: firmware 10 on the simulated interface, the real
// timer thread, "PARIS " typed into the input line while the log grows. Each key and PTT
// transition is compared with where the engine alone, on a manual clock, puts it. It runs on an
// idle machine and beside one CPU-bound process per core, each time with the engine's timer and
// reader threads ordinary and then asking for real-time scheduling; the simulated interface's
// thread, which stands in for the interface's own hardware, is real-time in every run. The same
// idle run on timers that re-arm from each late firing is the reference.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <sched.h>

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "bare_sleeper.h"
#include "bench_table.h"
#include "cpu_hogs.h"
#include "firing_relative_timers.h"
#include "keyer/cw_device.h"
#include "lateness_probe_timers.h"
#include "no_devices.h"
#include "platform/linux/realtime_threads.h"
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
// Ends the CPU-bound processes even if the two runs beside them never finish.
constexpr unsigned kLoadLimitSeconds = 240;
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
  // Whether the engine's timer thread, its reader and the interface's thread ran real-time.
  std::string realtime;
};

std::string RealtimeThreadsNow() {
  std::string flags;
  for (const char* name : {"vantrel-timer", "vantrel-reader", "vantrel-sim"}) {
    bool realtime = false;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
      std::string comm;
      std::getline(std::ifstream(task.path() / "comm"), comm);
      const int policy = sched_getscheduler(std::stoi(task.path().filename().string()));
      realtime = realtime || (comm == name && policy > 0);
    }
    flags += std::string(flags.empty() ? "" : "/") + (realtime ? "yes" : "no");
  }
  return flags;
}

// Types the text and grows the log until the engine has made every transition of `ideal`.
// With `engineRealtime` the engine's timer and reader threads ask it for real-time scheduling.
RunResult RunWindow(const std::string& text, const std::vector<Micros>& ideal, bool reference,
                    vantrel::platform::RealtimeRequest* engineRealtime,
                    vantrel::platform::RealtimeRequest& simRealtime) {
  vantrel::platform::ThreadTimerService timers("vantrel-timer", engineRealtime);
  vantrel::bench::LatenessProbeTimers probe(timers);
  vantrel::bench::FiringRelativeTimers relative(probe);
  vantrel::platform::TimerService& windowTimers =
      reference ? static_cast<vantrel::platform::TimerService&>(relative) : probe;
  // The interface on a thread of its own, as in the program; each series is measured from its
  // own first transition, so the two clocks need not agree.
  vantrel::platform::ThreadTimerService simTimers("vantrel-sim", &simRealtime);
  vantrel::sim::SimBus bus;
  vantrel::sim::SimInterface& sim = bus.Attach(simTimers, {.firmwareVersion = 10});
  vantrel::bench::SimWindow rig(bus, windowTimers, kSettings, {}, {}, engineRealtime);
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
          vantrel::bench::Summarise(probe.Lateness()), vantrel::bench::Summarise(bare.Stop()),
          RealtimeThreadsNow()};
}

struct Run {
  std::string name;
  RunResult result;
};

// One figure of every run, one after the other, so that idle and load, ordinary and real-time
// stand side by side; `targets` holds the target of each run in order.
struct Row {
  const char* figure;
  double (*value)(const RunResult&);
  std::vector<const char*> targets;
};

const Row kRows[] = {
    {"engine: error p50", [](const RunResult& r) { return r.engine.error.p50; }, {}},
    {"engine: error p99",
     [](const RunResult& r) { return r.engine.error.p99; },
     {"< 500 us", "", "", "< 200 us"}},
    {"engine: error max", [](const RunResult& r) { return r.engine.error.max; }, {"< 2000 us"}},
    {"engine: drift at end", [](const RunResult& r) { return r.engine.drift; }, {"|x| < 1000 us"}},
    {"interface: error p50", [](const RunResult& r) { return r.wire.error.p50; }, {}},
    {"interface: error p99",
     [](const RunResult& r) { return r.wire.error.p99; },
     {"", "", "", "<= 1200 us"}},
    {"interface: error max", [](const RunResult& r) { return r.wire.error.max; }, {}},
    {"timer wake-up late p99", [](const RunResult& r) { return r.timerLateness.p99; }, {}},
    {"timer wake-up late max", [](const RunResult& r) { return r.timerLateness.max; }, {}},
    {"bare sleeper late p99", [](const RunResult& r) { return r.bareLateness.p99; }, {}},
    {"bare sleeper late max", [](const RunResult& r) { return r.bareLateness.max; }, {}},
};

void PrintRuns(const std::vector<Run>& runs) {
  const std::string name = "keying fw10 window";
  for (const Run& run : runs) {
    PrintRow(name, run.name + ": real-time timer/reader/sim", run.result.realtime);
  }
  for (const Run& run : runs) {
    PrintRow(name, run.name + ": transitions engine/interface",
             std::to_string(run.result.engine.transitions) + "/" +
                 std::to_string(run.result.wire.transitions));
  }
  for (const Row& row : kRows) {
    for (std::size_t i = 0; i < runs.size(); ++i) {
      PrintRow(name, runs[i].name + ", " + row.figure, Figure(row.value(runs[i].result), "us"),
               i < row.targets.size() ? row.targets[i] : "");
    }
  }
}

void PrintReference(const RunResult& reference, const RunResult& ours) {
  const std::string name = "keying fw10 window";
  for (const Row& row : kRows) {
    if (std::string(row.figure).find("error") == std::string::npos) continue;
    PrintRow(name, std::string("reference, ") + row.figure, Figure(row.value(reference), "us"));
  }
  const auto ratio = [](double a, double b) { return b != 0 ? a / b : 0.0; };
  PrintRow(name, "idle ordinary/reference, engine: p99 ratio",
           Figure(ratio(ours.engine.error.p99, reference.engine.error.p99), "", 3));
  PrintRow(name, "idle ordinary/reference, engine: |drift| ratio",
           Figure(std::abs(ratio(ours.engine.drift, reference.engine.drift)), "", 3));
}

}  // namespace

int main(int argc, char** argv) {
  vantrel::bench::UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  const std::string text = ParisText();
  const std::vector<Micros> ideal = IdealTimes(text);
  vantrel::platform::RealtimeThreads realtime;
  std::vector<Run> runs;
  runs.push_back({"idle, ordinary", RunWindow(text, ideal, false, nullptr, realtime)});
  runs.push_back({"idle, real-time", RunWindow(text, ideal, false, &realtime, realtime)});
  const RunResult reference = RunWindow(text, ideal, true, nullptr, realtime);
  std::size_t hogs = 0;
  {
    vantrel::bench::CpuHogs load(kLoadLimitSeconds);
    hogs = load.Count();
    runs.push_back({"load, ordinary", RunWindow(text, ideal, false, nullptr, realtime)});
    runs.push_back({"load, real-time", RunWindow(text, ideal, false, &realtime, realtime)});
  }

  vantrel::bench::PrintHeader();
  PrintRow("keying fw10 window", "ideal transitions", std::to_string(ideal.size()));
  PrintRow("keying fw10 window", "load: CPU-bound processes", std::to_string(hogs));
  PrintRuns(runs);
  PrintReference(reference, runs.front().result);
  return 0;
}
