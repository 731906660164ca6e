// F11 to Turbo HAMLOG under Wine: from the F11 key event in the operating window to the record
// arriving in the logging program's window, here a Win32 stand-in in a Wine prefix that notes
// each record in a file the moment it gets it (seen through inotify). With the relay already
// running, and with the relay's first start (a window opened afresh for each press). Also the
// whole press: until the logging program's answer is back and the key handled.
// Needs VANTREL_WINE_PREFIX (tests/loglink/wine/make-prefix) and the Win32 programs.
#include <QApplication>
#include <QTest>

#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench_table.h"
#include "loglink/line_process.h"
#include "platform/linux/timer_thread.h"
#include "sim/sim_bus.h"
#include "sim_window.h"
#include "ui/main_dlg_ids.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;
using vantrel::bench::Summarise;
using Clock = std::chrono::steady_clock;

constexpr int kRunningPresses = 300;
constexpr int kFirstStarts = 15;

// The moment of the latest change to the records file, taken by a thread of its own.
class RecordWatch {
 public:
  explicit RecordWatch(const std::string& path) : fd_(inotify_init1(IN_CLOEXEC)) {
    inotify_add_watch(fd_, path.c_str(), IN_MODIFY);
    thread_ = std::thread([this] {
      alignas(inotify_event) char events[4096];
      while (read(fd_, events, sizeof events) > 0 && !stop_) {
        latest_ = Clock::now().time_since_epoch().count();
      }
    });
  }
  ~RecordWatch() {
    stop_ = true;
    close(fd_);  // the reader's read ends with an error
    thread_.detach();
  }
  Clock::time_point Latest() const { return Clock::time_point(Clock::duration(latest_)); }

 private:
  int fd_;
  std::atomic<bool> stop_ = false;
  std::atomic<Clock::rep> latest_ = 0;
  std::thread thread_;
};

std::string WindowsPath(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return "Z:" + path;
}

struct Press {
  double arrivedUs;
  double handledUs;
};

Press PressF11(vantrel::bench::SimWindow& window, const RecordWatch& watch) {
  QWidget* hisCall = window.Window().Control(vantrel::ui::kIdHisCall);
  const Clock::time_point before = watch.Latest();
  const Clock::time_point start = Clock::now();
  QTest::keyClick(hisCall, Qt::Key_F11);
  const Clock::time_point handled = Clock::now();
  vantrel::bench::RunEventsUntil([&] { return watch.Latest() != before; }, std::chrono::seconds(5));
  auto us = [&](Clock::time_point t) {
    return std::chrono::duration<double, std::micro>(t - start).count();
  };
  return {watch.Latest() == before ? -1 : us(watch.Latest()), us(handled)};
}

void PrintFigures(const std::string& what, const std::vector<Press>& presses) {
  std::vector<double> arrived, handled;
  for (const Press& p : presses) {
    if (p.arrivedUs >= 0) arrived.push_back(p.arrivedUs);
    handled.push_back(p.handledUs);
  }
  const auto a = Summarise(arrived);
  const auto h = Summarise(handled);
  const std::string name = "F11 to Turbo HAMLOG";
  PrintRow(name, what + ": records arrived/presses",
           std::to_string(a.count) + "/" + std::to_string(presses.size()));
  PrintRow(name, what + ": key to record p50", Figure(a.p50 / 1000, "ms", 2));
  PrintRow(name, what + ": key to record p99", Figure(a.p99 / 1000, "ms", 2));
  PrintRow(name, what + ": key to record max", Figure(a.max / 1000, "ms", 2));
  PrintRow(name, what + ": whole press p50", Figure(h.p50 / 1000, "ms", 2));
}

}  // namespace

int main(int argc, char** argv) {
  const char* prefix = std::getenv("VANTREL_WINE_PREFIX");
  if (prefix == nullptr) {
    std::fprintf(stderr, "VANTREL_WINE_PREFIX names no Wine prefix\n");
    return 2;
  }
  vantrel::bench::UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  vantrel::bench::PrintHeader();

  vantrel::settings::TempDir records;
  const std::string file = (records.path() / "records.txt").string();
  std::string error;
  auto standIn = vantrel::loglink::LineProcess::Start(
      {{"wine", VANTREL_STANDIN, WindowsPath(file)},
       {std::string("WINEPREFIX=") + prefix},
       false,
       std::chrono::milliseconds(0)},
      [](std::string_view) {}, error);
  if (!standIn || !vantrel::bench::RunEventsUntil([&] { return std::filesystem::exists(file); },
                                                  std::chrono::seconds(60))) {
    std::fprintf(stderr, "the stand-in did not start: %s\n", error.c_str());
    return 1;
  }
  RecordWatch watch(file);

  vantrel::platform::ThreadTimerService timers;
  vantrel::sim::SimBus bus;
  bus.Attach(timers, {.firmwareVersion = 23});
  const std::string profile = std::string("[LogLink]\nWinePrefix=") + prefix + "\n";
  std::vector<Press> firstStarts;
  for (int i = 0; i < kFirstStarts; ++i) {
    vantrel::bench::SimWindow window(bus, timers, "", {}, profile);
    firstStarts.push_back(PressF11(window, watch));
  }
  std::vector<Press> running;
  vantrel::bench::SimWindow window(bus, timers, "", {}, profile);
  PressF11(window, watch);
  for (int i = 0; i < kRunningPresses; ++i) running.push_back(PressF11(window, watch));
  PrintFigures("relay running", running);
  PrintFigures("relay's first start", firstStarts);
  return 0;
}
