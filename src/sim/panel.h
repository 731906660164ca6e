#pragma once

#include <cstdint>

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

}  // namespace vantrel::sim
