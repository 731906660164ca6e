#include "to_wire_run.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "bench_table.h"
#include "platform/linux/timer_thread.h"
#include "sim/sim_bus.h"

namespace vantrel::bench {
namespace {

const std::string kSettings = "WPM 50\nSideTone FALSE\nLogTime FALSE\nAuto FALSE\n";
// From the interface falling idle to the next hand-over.
constexpr int kShortestGapMs = 20;
constexpr int kLongestGapMs = 120;

// The window on the real timer thread, the interface on a thread of its own as in the
// program. Each character goes a short, random while after the interface has finished keying
// the one before, as an operator a little slower than 50 WPM would: the times are the path
// to the wire, not time queued behind earlier text.
WireTimes Measure(const ToWireBench& bench, platform::Micros statusIntervalUs,
                  std::size_t characters) {
  platform::ThreadTimerService timers;
  platform::ThreadTimerService simTimers("vantrel-sim");
  sim::SimBus bus;
  sim::SimInterface& sim =
      bus.Attach(simTimers, {.firmwareVersion = 23, .statusIntervalUs = statusIntervalUs});
  SimWindow rig(bus, timers, kSettings, bench.netKeyerPort);
  RunEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  sim.ClearHistory();

  WireTimes times{.interfaceStart = sim.StartTime(), .statusIntervalUs = statusIntervalUs};
  std::mt19937 random(9);
  std::uniform_int_distribution<int> gap(kShortestGapMs, kLongestGapMs);
  QTimer hand;
  hand.setSingleShot(true);
  QTimer waitIdle;
  QObject::connect(&hand, &QTimer::timeout, [&] {
    times.handedAt.push_back(simTimers.Now());
    bench.handOver(rig, times.handedAt.size() - 1);
    if (times.handedAt.size() < characters) waitIdle.start(5);
  });
  QObject::connect(&waitIdle, &QTimer::timeout, [&] {
    if (sim.BufferState() != sim::kBufferIdle ||
        !rig.Window().Logic().State().PendingText.empty()) {
      return;
    }
    waitIdle.stop();
    hand.start(gap(random));
  });
  waitIdle.start(5);
  const auto limit = std::chrono::milliseconds(characters * 1000 + 5000);
  RunEventsUntil([&] { return SendCodesTimes(sim).size() >= characters; }, limit);
  times.sentAt = SendCodesTimes(sim);
  return times;
}

void Print(const ToWireBench& bench, const WireTimes& times) {
  const auto interval = times.statusIntervalUs;
  const std::string prefix = "status every " + std::to_string(interval / 1000) + " ms: ";
  const std::string target = bench.withTarget ? "< " + std::to_string(interval + 1000) + " us" : "";
  std::vector<double> latencies;
  for (std::size_t i = 0; i < std::min(times.handedAt.size(), times.sentAt.size()); ++i) {
    latencies.push_back(static_cast<double>(times.sentAt[i] - times.handedAt[i]));
  }
  const Summary latency = Summarise(latencies);
  PrintRow(bench.name, prefix + bench.countFigure,
           std::to_string(times.handedAt.size()) + "/" + std::to_string(times.sentAt.size()));
  PrintRow(bench.name, prefix + "latency p50", Figure(latency.p50, "us"));
  PrintRow(bench.name, prefix + "latency p99", Figure(latency.p99, "us"), target);
  PrintRow(bench.name, prefix + "latency max", Figure(latency.max, "us"));
  if (bench.moreRows) bench.moreRows(prefix, times);
}

}  // namespace

std::vector<platform::Micros> SendCodesTimes(const sim::SimInterface& sim) {
  std::vector<platform::Micros> at;
  for (const auto& command : sim.Commands()) {
    if (command.bytes[1] == sim::CmdSendCodes) at.push_back(command.at);
  }
  return at;
}

int RunToWireBench(int argc, char** argv, const ToWireBench& bench) {
  UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  const std::size_t characters =
      argc > 1 ? std::strtoul(argv[1], nullptr, 10) : bench.defaultCharacters;
  const WireTimes five = Measure(bench, 5000, characters);
  const WireTimes one = Measure(bench, 1000, characters);
  PrintHeader();
  Print(bench, five);
  Print(bench, one);
  return 0;
}

}  // namespace vantrel::bench
