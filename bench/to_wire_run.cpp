#include "to_wire_run.h"

#include <QTimer>

#include <algorithm>
#include <random>
#include <string>

#include "platform/linux/timer_thread.h"
#include "sim/sim_bus.h"

namespace vantrel::bench {
namespace {

const std::string kSettings = "WPM 50\nSideTone FALSE\nLogTime FALSE\nAuto FALSE\n";
// From the interface falling idle to the next hand-over.
constexpr int kShortestGapMs = 20;
constexpr int kLongestGapMs = 120;

}  // namespace

std::vector<platform::Micros> SendCodesTimes(const sim::SimInterface& sim) {
  std::vector<platform::Micros> at;
  for (const auto& command : sim.Commands()) {
    if (command.bytes[1] == sim::CmdSendCodes) at.push_back(command.at);
  }
  return at;
}

std::vector<double> WireTimes::Latencies() const {
  std::vector<double> latencies;
  for (std::size_t i = 0; i < std::min(handedAt.size(), sentAt.size()); ++i) {
    latencies.push_back(static_cast<double>(sentAt[i] - handedAt[i]));
  }
  return latencies;
}

WireTimes MeasureToWire(platform::Micros statusIntervalUs, std::size_t characters,
                        std::optional<unsigned> netKeyerPort,
                        const std::function<void(SimWindow& rig, std::size_t index)>& handOver) {
  platform::ThreadTimerService timers;
  platform::ThreadTimerService simTimers("vantrel-sim");
  sim::SimBus bus;
  sim::SimInterface& sim =
      bus.Attach(simTimers, {.firmwareVersion = 23, .statusIntervalUs = statusIntervalUs});
  SimWindow rig(bus, timers, kSettings, netKeyerPort);
  RunEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  sim.ClearHistory();

  WireTimes times{.interfaceStart = sim.StartTime()};
  std::mt19937 random(9);
  std::uniform_int_distribution<int> gap(kShortestGapMs, kLongestGapMs);
  QTimer hand;
  hand.setSingleShot(true);
  QTimer waitIdle;
  QObject::connect(&hand, &QTimer::timeout, [&] {
    times.handedAt.push_back(simTimers.Now());
    handOver(rig, times.handedAt.size() - 1);
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

}  // namespace vantrel::bench
