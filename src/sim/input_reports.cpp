#include "sim/input_reports.h"

#include "keyer/firmware_profile.h"

namespace vantrel::sim {

std::uint8_t WithPaddle(std::uint8_t lines, Paddle paddle, bool reversed) {
  const keyer::PaddleLines contacts = keyer::PaddleLinesFor(reversed);
  const bool dot = paddle == Paddle::Dot || paddle == Paddle::Both;
  const bool dash = paddle == Paddle::Dash || paddle == Paddle::Both;
  return keyer::WithLine(keyer::WithLine(lines, contacts.dot, dot), contacts.dash, dash) &
         kLinesAtRest;
}

Report PanelReport(unsigned firmware, const PanelState& panel, std::uint8_t bufferState,
                   ReplyKind kind, std::array<std::uint8_t, 3> body) {
  const keyer::FirmwareProfile profile = keyer::ProfileFor(firmware);
  keyer::InputReport report{.kind = kind, .body = body};
  if (profile.TakesCodes()) {
    report.decodeCounter = static_cast<std::int8_t>(panel.decodeCounter);
    report.decodedCode = panel.decodedCode;
    report.status = keyer::InputReport::StatusOf(bufferState, panel.inputLines);
  }
  if (profile.speedSwitch) report.switches = keyer::InputReport::SwitchesAt(panel.speedSwitch);
  return keyer::Build(report);
}

bool IsIdleStatus(const Report& report) {
  const auto parsed = keyer::Parse<keyer::InputReport>(report);
  return parsed.kind == KindStatus && parsed.BufferState() == kBufferIdle;
}

}  // namespace vantrel::sim
