#pragma once

#include <array>
#include <cstdint>

#include "sim/wire_names.h"

namespace vantrel::sim {

enum class Paddle { Dot, Dash, Both, None };

// What the operator's side of the interface shows the host.
struct PanelState {
  std::uint8_t decodeCounter = 0;
  std::uint8_t decodedCode = 0;
  SpeedSwitch speedSwitch = SpeedSwitch::Rest;
  // Active low: bits 0 and 2 are the paddle contacts, bits 1 and 3 two further inputs.
  std::uint8_t inputLines = kLinesAtRest;
};

// Closes the contacts of `paddle` in `lines` and opens the other one. Reversed paddles put
// the dot on bit 2.
std::uint8_t WithPaddle(std::uint8_t lines, Paddle paddle, bool reversed);

// A report of firmware 20 and later: the kind, its three body bytes, then the panel and the
// buffer state in bytes 5 to 8. Firmware below 20 leaves bytes 5 to 8 at 0.
Report PanelReport(unsigned firmware, const PanelState& panel, std::uint8_t bufferState,
                   ReplyKind kind, std::array<std::uint8_t, 3> body = {});

// A status report of an idle interface, which the event log leaves out when it repeats.
bool IsIdleStatus(const Report& report);

}  // namespace vantrel::sim
