// What one hand-over costs the window's thread with an empty log and with a nearly full one
// (about 31 KB, as after a long session): the hand-over step at firmware 23 that gives the
// engine one character and moves it from the input line to the log, followed by the events it
// leaves behind (layout and painting of the log, offscreen). The interface is simulated on a
// clock that stands still, so no status report hands anything over besides the measured calls.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <ctime>
#include <string>
#include <vector>

#include "bench_table.h"
#include "platform/linux/timer_thread.h"
#include "sim/sim_bus.h"
#include "sim_window.h"
#include "support/manual_timer.h"
#include "ui/main_dlg_ids.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;

const std::string kSettings = "WPM 50\nSideTone FALSE\nLogTime FALSE\nAuto FALSE\n";
const QString kLogLine = QStringLiteral("12:34:56> CQ TEST DE JA1ABC JA1ABC TEST\n");
constexpr int kFullLogBytes = 31 * 1024;
constexpr int kHandOvers = 300;

double ThreadCpuUs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

// The window thread's time for each hand-over with `logBytes` in the log.
std::vector<double> Measure(int logBytes) {
  vantrel::platform::ManualTimerService simTimers;
  vantrel::sim::SimBus bus;
  bus.Attach(simTimers, {.firmwareVersion = 23});
  vantrel::platform::ThreadTimerService timers;
  vantrel::bench::SimWindow rig(bus, timers, kSettings);
  vantrel::bench::RunEventsUntil([] { return false; }, std::chrono::milliseconds(100));
  QString log;
  while (log.size() + kLogLine.size() <= logBytes) log += kLogLine;
  static_cast<QPlainTextEdit*>(rig.Window().Control(vantrel::ui::kIdLog))->setPlainText(log);
  for (int i = 0; i < kHandOvers; ++i) QTest::keyClick(rig.InputLine(), "PARIS "[i % 6]);
  QCoreApplication::processEvents();

  std::vector<double> costs;
  for (int i = 0; i < kHandOvers; ++i) {
    const double start = ThreadCpuUs();
    rig.Window().Logic().FeedNextCharacter();
    QCoreApplication::processEvents();
    costs.push_back(ThreadCpuUs() - start);
  }
  return costs;
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double value : values) sum += value;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

}  // namespace

int main(int argc, char** argv) {
  vantrel::bench::UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  const std::vector<double> empty = Measure(0);
  const std::vector<double> full = Measure(kFullLogBytes);
  const vantrel::bench::Summary e = vantrel::bench::Summarise(empty);
  const vantrel::bench::Summary f = vantrel::bench::Summarise(full);

  const std::string name = "hand-over fw23 window";
  vantrel::bench::PrintHeader();
  PrintRow(name, "empty log: thread time p50", Figure(e.p50, "us"));
  PrintRow(name, "empty log: thread time p99", Figure(e.p99, "us"));
  PrintRow(name, "empty log: thread time mean", Figure(Mean(empty), "us"));
  PrintRow(name, "31 KB log: thread time p50", Figure(f.p50, "us"));
  PrintRow(name, "31 KB log: thread time p99", Figure(f.p99, "us"));
  PrintRow(name, "31 KB log: thread time mean", Figure(Mean(full), "us"));
  PrintRow(name, "31 KB log minus empty log, mean", Figure(Mean(full) - Mean(empty), "us"),
           "about 0");
  return 0;
}
