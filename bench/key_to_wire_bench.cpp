// Key-to-wire latency at firmware 23: from a key press delivered to the window's input line to
// the CmdSendCodes report carrying that character reaching the simulated interface, with the
// real timer thread and status reports every 5 ms, then every 1 ms (the USB full-speed limit).
// Each character is pressed a short, random while after the interface has finished keying the
// one before, as an operator typing a little slower than 50 WPM would: the figure is the path
// from the key to the wire, not time spent queued behind earlier text.
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench_table.h"
#include "platform/linux/timer_thread.h"
#include "sim/sim_bus.h"
#include "sim/wire_names.h"
#include "sim_window.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;
using vantrel::platform::Micros;

const std::string kSettings = "WPM 50\nSideTone FALSE\nLogTime FALSE\nAuto FALSE\n";
const std::string kText = "CQ TEST DE JA1ABC K UR 599 TU ";
// From the interface falling idle to the next key press.
constexpr int kShortestGapMs = 20;
constexpr int kLongestGapMs = 120;
constexpr std::uint8_t kIdleBuffer = 15;

struct Outcome {
  std::size_t typed = 0;
  std::size_t sent = 0;
  std::size_t beforeNextReport = 0;
  vantrel::bench::Summary latency;
};

Outcome Measure(Micros statusIntervalUs, std::size_t characters) {
  vantrel::platform::ThreadTimerService timers;
  // The interface on a thread of its own, as in the program; every time is on its clock.
  vantrel::platform::ThreadTimerService simTimers("vantrel-sim");
  vantrel::sim::SimBus bus;
  vantrel::sim::SimInterface& sim =
      bus.Attach(simTimers, {.firmwareVersion = 23, .statusIntervalUs = statusIntervalUs});
  vantrel::bench::SimWindow rig(bus, timers, kSettings);
  vantrel::bench::RunEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  sim.ClearHistory();

  std::vector<Micros> pressedAt;
  std::mt19937 random(9);
  std::uniform_int_distribution<int> gap(kShortestGapMs, kLongestGapMs);
  QTimer press;
  press.setSingleShot(true);
  QTimer waitIdle;
  QObject::connect(&press, &QTimer::timeout, [&] {
    const char c = kText[pressedAt.size() % kText.size()];
    pressedAt.push_back(simTimers.Now());
    QTest::keyClick(rig.InputLine(), c);
    if (pressedAt.size() < characters) waitIdle.start(5);
  });
  QObject::connect(&waitIdle, &QTimer::timeout, [&] {
    if (sim.BufferState() != kIdleBuffer || !rig.Window().Logic().State().PendingText.empty())
      return;
    waitIdle.stop();
    press.start(gap(random));
  });
  waitIdle.start(5);
  const auto sentCodes = [&sim] {
    std::vector<Micros> at;
    for (const auto& command : sim.Commands()) {
      if (command.bytes[1] == vantrel::sim::CmdSendCodes) at.push_back(command.at);
    }
    return at;
  };
  const auto limit = std::chrono::milliseconds(characters * 1000 + 5000);
  vantrel::bench::RunEventsUntil([&] { return sentCodes().size() >= characters; }, limit);

  Outcome outcome;
  const std::vector<Micros> sentAt = sentCodes();
  outcome.typed = pressedAt.size();
  outcome.sent = sentAt.size();
  std::vector<double> latencies;
  for (std::size_t i = 0; i < std::min(pressedAt.size(), sentAt.size()); ++i) {
    latencies.push_back(static_cast<double>(sentAt[i] - pressedAt[i]));
    // Status reports fall due at whole intervals from the interface's start.
    const Micros sinceStart = pressedAt[i] - sim.StartTime();
    const Micros due = sim.StartTime() + (sinceStart / statusIntervalUs + 1) * statusIntervalUs;
    if (sentAt[i] < due) ++outcome.beforeNextReport;
  }
  outcome.latency = vantrel::bench::Summarise(latencies);
  return outcome;
}

void Print(Micros statusIntervalUs, const Outcome& o) {
  const std::string name = "key-to-wire fw23";
  const std::string prefix = "status every " + std::to_string(statusIntervalUs / 1000) + " ms: ";
  const std::string target = "< " + std::to_string(statusIntervalUs + 1000) + " us";
  PrintRow(name, prefix + "characters typed/sent",
           std::to_string(o.typed) + "/" + std::to_string(o.sent));
  PrintRow(name, prefix + "latency p50", Figure(o.latency.p50, "us"));
  PrintRow(name, prefix + "latency p99", Figure(o.latency.p99, "us"), target);
  PrintRow(name, prefix + "latency max", Figure(o.latency.max, "us"));
  PrintRow(name, prefix + "sent before the next report",
           std::to_string(o.beforeNextReport) + "/" + std::to_string(o.sent));
}

}  // namespace

// An optional argument sets how many characters each run types (500 unless given).
int main(int argc, char** argv) {
  vantrel::bench::UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  const std::size_t characters = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 500;
  const Outcome five = Measure(5000, characters);
  const Outcome one = Measure(1000, characters);
  vantrel::bench::PrintHeader();
  Print(5000, five);
  Print(1000, one);
  return 0;
}
