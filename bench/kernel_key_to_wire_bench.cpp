// Key-to-wire through the kernel, run inside the test virtual machine (tests/vm/run-vm-stage
// BUILD --bench): the operating window on hidapi over hidraw, a virtual Halvix behind uhid.
// Firmware 23: from a key press at the input line to the device's UHID_OUTPUT carrying its
// CmdSendCodes. Firmware 10: the key-down and key-up lengths of PC-timed dots as the device
// sees them, against the 60 ms dot of 20 WPM.
#include <QApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_table.h"
#include "platform/linux/hid_hidapi.h"
#include "platform/linux/single_instance.h"
#include "platform/linux/timer_thread.h"
#include "sim/input_reports.h"
#include "sim_window.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "to_wire_run.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "virtual_halvix.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;
using vantrel::platform::Micros;

constexpr double kDotUs = 60000;

template <typename Done>
void Wait(Done done, int limitMs, const char* what) {
  if (!QTest::qWaitFor(done, limitMs)) std::fprintf(stderr, "gave up waiting: %s\n", what);
}

struct KernelWindow {
  explicit KernelWindow(unsigned version, const std::string& settings)
      : halvix(simTimers, Config(version)) {
    dir.Write("Vantrel.cfg", settings);
    std::filesystem::current_path(dir.path());
    Wait([&] { return !bus.Enumerate().empty(); }, 5000, "the virtual Halvix");
    window = std::make_unique<vantrel::ui::CMainDlg>(
        vantrel::ui::MainDlgServices{bus, timers, tone, dir.path(), {}},
        vantrel::platform::SingleInstance::Acquire(dir.path(), "MyApp"));
    window->show();
    window->activateWindow();
    Wait([&] { return window->isActiveWindow(); }, 5000, "the window");
    QTest::mouseClick(window->Control(vantrel::ui::kIdInput), Qt::LeftButton);
    QTest::qWait(300);
    halvix.Device().ClearHistory();
  }
  static vantrel::tools::VirtualHalvixConfig Config(unsigned version) {
    vantrel::tools::VirtualHalvixConfig config;
    config.sim.firmwareVersion = version;
    return config;
  }
  vantrel::sim::SimInterface& Device() { return halvix.Device(); }

  vantrel::platform::ThreadTimerService simTimers{"vantrel-sim"};
  vantrel::platform::ThreadTimerService timers;
  vantrel::tools::VirtualHalvix halvix;
  vantrel::platform::HidapiBus bus;
  vantrel::platform::NullToneOutput tone;
  vantrel::settings::TempDir dir;
  std::unique_ptr<vantrel::ui::CMainDlg> window;
};

void KeyToWire(std::size_t characters) {
  KernelWindow rig(23, "WPM 50\nSideTone FALSE\nLogTime FALSE\n");
  std::vector<double> latencies;
  for (std::size_t i = 0; i < characters; ++i) {
    const auto sent = [&] { return vantrel::bench::SendCodesTimes(rig.Device()); };
    const Micros pressed = rig.simTimers.Now();
    QTest::keyClick(QApplication::focusWidget(), 'e');
    Wait([&] { return sent().size() > i; }, 2000, "a character sent");
    if (sent().size() > i) latencies.push_back(static_cast<double>(sent()[i] - pressed));
    Wait([&] { return rig.Device().BufferState() == vantrel::sim::kBufferIdle; }, 2000, "idle");
    QTest::qWait(20 + static_cast<int>(i % 7) * 13);
  }
  const auto s = vantrel::bench::Summarise(latencies);
  const std::string name = "kernel key-to-wire fw23";
  PrintRow(name, "characters sent", std::to_string(s.count) + "/" + std::to_string(characters));
  PrintRow(name, "key press to UHID_OUTPUT p50", Figure(s.p50, "us"));
  PrintRow(name, "key press to UHID_OUTPUT p99", Figure(s.p99, "us"));
  PrintRow(name, "key press to UHID_OUTPUT max", Figure(s.max, "us"));
}

void ElementTiming(std::size_t characters) {
  KernelWindow rig(10, "WPM 20\nSideTone FALSE\nLogTime FALSE\n");
  for (std::size_t i = 0; i < characters; ++i) QTest::keyClick(QApplication::focusWidget(), '5');
  const std::size_t transitions = characters * 10;
  Wait(
      [&] {
        std::size_t key = 0;
        for (const auto& t : rig.Device().Transitions()) key += t.line == vantrel::sim::Line::Key;
        return key >= transitions;
      },
      static_cast<int>(characters) * 2000, "the dots keyed");
  std::vector<double> downError;
  std::vector<double> upError;
  Micros last = -1;
  bool lastOn = false;
  for (const auto& t : rig.Device().Transitions()) {
    if (t.line != vantrel::sim::Line::Key) continue;
    if (last >= 0) {
      const double length = static_cast<double>(t.at - last);
      // Key-ups longer than two dots are the gaps between characters.
      if (lastOn) downError.push_back(std::abs(length - kDotUs));
      if (!lastOn && length < 2 * kDotUs) upError.push_back(std::abs(length - kDotUs));
    }
    last = t.at;
    lastOn = t.on;
  }
  const auto down = vantrel::bench::Summarise(downError);
  const auto up = vantrel::bench::Summarise(upError);
  const std::string name = "kernel elements fw10";
  PrintRow(name, "dots measured at the device", std::to_string(down.count));
  PrintRow(name, "key-down error from 60 ms p50", Figure(down.p50, "us"));
  PrintRow(name, "key-down error from 60 ms p99", Figure(down.p99, "us"));
  PrintRow(name, "key-down error from 60 ms max", Figure(down.max, "us"));
  PrintRow(name, "element-gap error from 60 ms p50", Figure(up.p50, "us"));
  PrintRow(name, "element-gap error from 60 ms max", Figure(up.max, "us"));
}

}  // namespace

// An optional argument sets how many characters each part types (40 unless given).
int main(int argc, char** argv) {
  vantrel::bench::UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  const std::size_t characters = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 40;
  vantrel::bench::PrintHeader();
  KeyToWire(characters);
  ElementTiming(characters / 4);
  return 0;
}
