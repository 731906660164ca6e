#pragma once

#include <array>
#include <cstdint>

#include "sim/wire_names.h"

namespace vantrel::sim {

enum class Paddle { Dot, Dash, Both, None };

// Values of the speed-switch field, bits 5 and 6 of input report byte 7.
enum class SpeedSwitch : std::uint8_t { Down = 1, Up = 2, Rest = 3 };

// What the operator's side of the interface shows the host.
struct PanelState {
  std::uint8_t decodeCounter = 0;
  std::uint8_t decodedCode = 0;
  SpeedSwitch speedSwitch = SpeedSwitch::Rest;
  // Active low: bits 0 and 2 are the paddle contacts, bits 1 and 3 two further inputs.
  std::uint8_t inputLines = 0x0F;
};

// Closes the contacts of `paddle` in `lines` and opens the other one. Reversed paddles put
// the dot on bit 2.
std::uint8_t WithPaddle(std::uint8_t lines, Paddle paddle, bool reversed);

inline constexpr std::uint8_t kBufferIdle = 15;

// A report of firmware 20 and later: the kind, its three body bytes, then the panel and the
// buffer state in bytes 5 to 8. Firmware below 20 leaves bytes 5 to 8 at 0.
Report PanelReport(unsigned firmware, const PanelState& panel, std::uint8_t bufferState,
                   std::uint8_t kind, std::array<std::uint8_t, 3> body = {});

// The reply of firmware below 20 to each command: the paddle contacts and the poll mark 3.
Report InputLineReport(std::uint8_t contacts);

// A status report of an idle interface, which the event log leaves out when it repeats.
bool IsIdleStatus(const Report& report);

}  // namespace vantrel::sim
