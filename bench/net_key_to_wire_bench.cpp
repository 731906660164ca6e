// Network key-to-wire latency at firmware 23: from a one-character datagram sent to the
// network keyer on loopback to the CmdSendCodes report carrying it reaching the simulated
// interface, with the real timer thread and status reports every 5 ms, then every 1 ms. Each
// datagram goes a short, random while after the interface has finished keying the one before,
// so the figure is the path from the socket to the wire, not time queued behind earlier text.
#include <QApplication>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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
const std::string kText = "CQTESTDEJA1ABCKUR599TU";
constexpr unsigned kPort = 46789;
constexpr int kShortestGapMs = 20;
constexpr int kLongestGapMs = 120;
constexpr std::uint8_t kIdleBuffer = 15;

class LoopbackClient {
 public:
  LoopbackClient() : fd_(socket(AF_INET, SOCK_DGRAM, 0)) {
    to_.sin_family = AF_INET;
    to_.sin_port = htons(kPort);
    to_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  }
  ~LoopbackClient() { close(fd_); }
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  void Send(char c) const {
    sendto(fd_, &c, 1, 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
  }

 private:
  int fd_;
  sockaddr_in to_{};
};

struct Outcome {
  std::size_t sentDatagrams = 0;
  std::size_t keyed = 0;
  vantrel::bench::Summary latency;
};

Outcome Measure(Micros statusIntervalUs, std::size_t characters) {
  vantrel::platform::ThreadTimerService timers;
  vantrel::platform::ThreadTimerService simTimers("vantrel-sim");
  vantrel::sim::SimBus bus;
  vantrel::sim::SimInterface& sim =
      bus.Attach(simTimers, {.firmwareVersion = 23, .statusIntervalUs = statusIntervalUs});
  vantrel::bench::SimWindow rig(bus, timers, kSettings, kPort);
  vantrel::bench::RunEventsUntil([] { return false; }, std::chrono::milliseconds(200));
  sim.ClearHistory();

  LoopbackClient client;
  std::vector<Micros> sentAt;
  std::mt19937 random(9);
  std::uniform_int_distribution<int> gap(kShortestGapMs, kLongestGapMs);
  QTimer send;
  send.setSingleShot(true);
  QTimer waitIdle;
  QObject::connect(&send, &QTimer::timeout, [&] {
    sentAt.push_back(simTimers.Now());
    client.Send(kText[sentAt.size() % kText.size()]);
    if (sentAt.size() < characters) waitIdle.start(5);
  });
  QObject::connect(&waitIdle, &QTimer::timeout, [&] {
    if (sim.BufferState() != kIdleBuffer || !rig.Window().Logic().State().PendingText.empty())
      return;
    waitIdle.stop();
    send.start(gap(random));
  });
  waitIdle.start(5);
  const auto keyedAt = [&sim] {
    std::vector<Micros> at;
    for (const auto& command : sim.Commands()) {
      if (command.bytes[1] == vantrel::sim::CmdSendCodes) at.push_back(command.at);
    }
    return at;
  };
  const auto limit = std::chrono::milliseconds(characters * 1000 + 5000);
  vantrel::bench::RunEventsUntil([&] { return keyedAt().size() >= characters; }, limit);

  Outcome outcome;
  const std::vector<Micros> keyed = keyedAt();
  outcome.sentDatagrams = sentAt.size();
  outcome.keyed = keyed.size();
  std::vector<double> latencies;
  for (std::size_t i = 0; i < std::min(sentAt.size(), keyed.size()); ++i) {
    latencies.push_back(static_cast<double>(keyed[i] - sentAt[i]));
  }
  outcome.latency = vantrel::bench::Summarise(latencies);
  return outcome;
}

void Print(Micros statusIntervalUs, const Outcome& o) {
  const std::string name = "datagram-to-wire fw23";
  const std::string prefix = "status every " + std::to_string(statusIntervalUs / 1000) + " ms: ";
  PrintRow(name, prefix + "datagrams sent/keyed",
           std::to_string(o.sentDatagrams) + "/" + std::to_string(o.keyed));
  PrintRow(name, prefix + "latency p50", Figure(o.latency.p50, "us"));
  PrintRow(name, prefix + "latency p99", Figure(o.latency.p99, "us"));
  PrintRow(name, prefix + "latency max", Figure(o.latency.max, "us"));
}

}  // namespace

// An optional argument sets how many datagrams each run sends (300 unless given).
int main(int argc, char** argv) {
  vantrel::bench::UseOffscreenUnlessSet();
  QApplication app(argc, argv);
  const std::size_t characters = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 300;
  const Outcome five = Measure(5000, characters);
  const Outcome one = Measure(1000, characters);
  vantrel::bench::PrintHeader();
  Print(5000, five);
  Print(1000, one);
  return 0;
}
