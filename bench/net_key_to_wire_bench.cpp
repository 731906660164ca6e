// Network key-to-wire latency at firmware 23: from a one-character datagram sent to the
// network keyer on loopback to the CmdSendCodes report carrying it reaching the simulated
// interface, with the real timer thread and status reports every 5 ms, then every 1 ms. Each
// datagram goes a short, random while after the interface has finished keying the one before,
// so the figure is the path from the socket to the wire, not time queued behind earlier text.
#include <QApplication>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "bench_table.h"
#include "to_wire_run.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;
using vantrel::platform::Micros;

const std::string kText = "CQTESTDEJA1ABCKUR599TU";
constexpr unsigned kPort = 46789;

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
  const LoopbackClient client;
  const auto times =
      vantrel::bench::MeasureToWire(statusIntervalUs, characters, kPort,
                                    [&client](vantrel::bench::SimWindow&, std::size_t index) {
                                      client.Send(kText[index % kText.size()]);
                                    });
  return {times.handedAt.size(), times.sentAt.size(), vantrel::bench::Summarise(times.Latencies())};
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
