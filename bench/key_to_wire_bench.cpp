// Key-to-wire latency at firmware 23: from a key press delivered to the window's input line to
// the CmdSendCodes report carrying that character reaching the simulated interface, with the
// real timer thread and status reports every 5 ms, then every 1 ms (the USB full-speed limit).
// Each character is pressed a short, random while after the interface has finished keying the
// one before, as an operator typing a little slower than 50 WPM would: the figure is the path
// from the key to the wire, not time spent queued behind earlier text.
#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <string>

#include "bench_table.h"
#include "to_wire_run.h"

namespace {

using vantrel::bench::Figure;
using vantrel::bench::PrintRow;
using vantrel::platform::Micros;

const std::string kText = "CQ TEST DE JA1ABC K UR 599 TU ";

struct Outcome {
  std::size_t typed = 0;
  std::size_t sent = 0;
  std::size_t beforeNextReport = 0;
  vantrel::bench::Summary latency;
};

Outcome Measure(Micros statusIntervalUs, std::size_t characters) {
  const auto times =
      vantrel::bench::MeasureToWire(statusIntervalUs, characters, std::nullopt,
                                    [](vantrel::bench::SimWindow& rig, std::size_t index) {
                                      QTest::keyClick(rig.InputLine(), kText[index % kText.size()]);
                                    });
  Outcome outcome{.typed = times.handedAt.size(),
                  .sent = times.sentAt.size(),
                  .latency = vantrel::bench::Summarise(times.Latencies())};
  for (std::size_t i = 0; i < std::min(outcome.typed, outcome.sent); ++i) {
    // Status reports fall due at whole intervals from the interface's start.
    const Micros sinceStart = times.handedAt[i] - times.interfaceStart;
    const Micros due =
        times.interfaceStart + (sinceStart / statusIntervalUs + 1) * statusIntervalUs;
    if (times.sentAt[i] < due) ++outcome.beforeNextReport;
  }
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
