#include "sim/input_reports.h"

namespace vantrel::sim {

std::uint8_t WithPaddle(std::uint8_t lines, Paddle paddle, bool reversed) {
  const std::uint8_t dot = reversed ? 0x04 : 0x01;
  const std::uint8_t dash = reversed ? 0x01 : 0x04;
  std::uint8_t result = lines | dot | dash;
  if (paddle == Paddle::Dot || paddle == Paddle::Both) result &= ~dot;
  if (paddle == Paddle::Dash || paddle == Paddle::Both) result &= ~dash;
  return result & 0x0F;
}

Report PanelReport(unsigned firmware, const PanelState& panel, std::uint8_t bufferState,
                   std::uint8_t kind, std::array<std::uint8_t, 3> body) {
  Report report{0, kind, body[0], body[1], body[2], 0, 0, 0, 0};
  if (firmware < 20) return report;
  report[5] = panel.decodeCounter;
  report[6] = panel.decodedCode;
  if (firmware >= 23) report[7] = static_cast<std::uint8_t>(panel.speedSwitch) << 5;
  report[8] = static_cast<std::uint8_t>((bufferState << 4) | (panel.inputLines & 0x0F));
  return report;
}

Report InputLineReport(std::uint8_t contacts) {
  return Report{0, KindInputLines, static_cast<std::uint8_t>(contacts & 0x0F), 3, 0, 0, 0, 0, 0};
}

bool IsIdleStatus(const Report& report) {
  return report[1] == KindStatus && (report[8] >> 4) == kBufferIdle;
}

}  // namespace vantrel::sim
