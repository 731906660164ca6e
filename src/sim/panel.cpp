#include "sim/panel.h"

namespace vantrel::sim {

std::uint8_t WithPaddle(std::uint8_t lines, Paddle paddle, bool reversed) {
  const std::uint8_t dot = reversed ? 0x04 : 0x01;
  const std::uint8_t dash = reversed ? 0x01 : 0x04;
  std::uint8_t result = lines | dot | dash;
  if (paddle == Paddle::Dot || paddle == Paddle::Both) result &= ~dot;
  if (paddle == Paddle::Dash || paddle == Paddle::Both) result &= ~dash;
  return result & 0x0F;
}

}  // namespace vantrel::sim
