// Key-to-wire latency at firmware 23: from a key press delivered to the window's input line to
// the CmdSendCodes report carrying that character reaching the simulated interface.
#include <QTest>

#include <algorithm>
#include <string>

#include "bench_table.h"
#include "to_wire_run.h"

namespace {

using vantrel::platform::Micros;

const std::string kText = "CQ TEST DE JA1ABC K UR 599 TU ";

// How many characters went out before the status report that followed their key press.
void PrintBeforeNextReport(const std::string& prefix, const vantrel::bench::WireTimes& times) {
  const std::size_t sent = std::min(times.handedAt.size(), times.sentAt.size());
  std::size_t early = 0;
  for (std::size_t i = 0; i < sent; ++i) {
    // Status reports fall due at whole intervals from the interface's start.
    const Micros interval = times.statusIntervalUs;
    const Micros sinceStart = times.handedAt[i] - times.interfaceStart;
    const Micros due = times.interfaceStart + (sinceStart / interval + 1) * interval;
    if (times.sentAt[i] < due) ++early;
  }
  vantrel::bench::PrintRow("key-to-wire fw23", prefix + "sent before the next report",
                           std::to_string(early) + "/" + std::to_string(times.sentAt.size()));
}

}  // namespace

// An optional argument sets how many characters each run types (500 unless given).
int main(int argc, char** argv) {
  return vantrel::bench::RunToWireBench(argc, argv,
                                        {.name = "key-to-wire fw23",
                                         .countFigure = "characters typed/sent",
                                         .defaultCharacters = 500,
                                         .handOver =
                                             [](vantrel::bench::SimWindow& rig, std::size_t index) {
                                               QTest::keyClick(rig.InputLine(),
                                                               kText[index % kText.size()]);
                                             },
                                         .withTarget = true,
                                         .moreRows = PrintBeforeNextReport});
}
