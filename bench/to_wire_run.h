#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/timer.h"
#include "sim/sim_interface.h"
#include "sim_window.h"

namespace vantrel::bench {

// When each CmdSendCodes reached the interface, on its clock.
std::vector<platform::Micros> SendCodesTimes(const sim::SimInterface& sim);

// One run's times on the interface's clock: each character handed to the window, and each
// CmdSendCodes reaching the interface.
struct WireTimes {
  std::vector<platform::Micros> handedAt{};
  std::vector<platform::Micros> sentAt{};
  platform::Micros interfaceStart = 0;
  platform::Micros statusIntervalUs = 0;
};

// A benchmark from a character handed to the window to its CmdSendCodes on the wire, at
// firmware 23 with status reports every 5 ms and then every 1 ms (the USB full-speed limit).
struct ToWireBench {
  std::string name{};
  // The figure that counts the characters handed over and sent, "characters typed/sent".
  std::string countFigure{};
  std::size_t defaultCharacters = 0;
  std::optional<unsigned> netKeyerPort{};
  // Gives the window character `index`.
  std::function<void(SimWindow& rig, std::size_t index)> handOver{};
  // Prints the p99 latency against a target of one status interval and a millisecond.
  bool withTarget = false;
  // Rows of its own after the common ones, each figure starting with `prefix`.
  std::function<void(const std::string& prefix, const WireTimes& times)> moreRows{};
};

// Runs the benchmark and prints its rows; an optional argument sets how many characters each
// run hands over.
int RunToWireBench(int argc, char** argv, const ToWireBench& bench);

}  // namespace vantrel::bench
