#include "keyer/cw_device.h"
#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"

namespace vantrel::keyer {
namespace {

bool PaddleContactClosed(std::uint8_t lines) {
  return LineActive(lines, kPaddleLineA) || LineActive(lines, kPaddleLineB);
}

}  // namespace

void CCwDevice::OnReaderStart() {
  // A reopened interface starts afresh: its first report is answered with the output lines,
  // and its decode counter and speed switch become new references.
  lines_.ForgetWritten();
  decoder_.Restart();
  lastSpeedSwitch_.reset();
}

void CCwDevice::OnInputReport(const InputReport& report) {
  // The PC-timed keying, and a paddle contact in a poll reply, count their next deadlines from
  // this report; the interface that times its own codes arms no timer here.
  if (firmware_.pcTimedKeying || report.IsPollReply()) keyer_.MarkStepStart();
  if (report.kind == KindSpeed) {
    const int half = report.SpeedHalfDotMs();
    const int dot = static_cast<int>(params_.DotLength());
    if (half != 0 && half != dot / 2) Post(WM_KEYER_SPEED, half, 2 * half < dot ? 1 : 0);
  }
  if (report.kind == KindModeFlags) modeFlags_ = report.body;
  if (firmware_.speedSwitch) {
    const SpeedSwitch position = report.SwitchPosition();
    if (lastSpeedSwitch_ == SpeedSwitch::Rest && position == SpeedSwitch::Up) {
      Post(WM_KEYER_SPEED_UP, 0);
    }
    if (lastSpeedSwitch_ == SpeedSwitch::Rest && position == SpeedSwitch::Down) {
      Post(WM_KEYER_SPEED_DOWN, 0);
    }
    lastSpeedSwitch_ = position;
  }
  if (firmware_.TakesCodes()) HandleStatusBytes(report);
  if (report.IsPollReply()) HandlePaddleInput(report.PollLines());
  if (firmware_.pcTimedKeying) AnswerReport();
}

void CCwDevice::HandleStatusBytes(const InputReport& report) {
  const int buffer = report.BufferState();
  const int lines = report.InputLines();
  if (buffer < kBufferIdle) decoder_.Restart();
  Post(WM_KEYER_STATUS, buffer, lines);
  if (report.switches == 0) {
    if (lines == 3) Post(WM_KEYER_SPEED_DOWN, 3);
    if (lines == 6) Post(WM_KEYER_SPEED_UP, 6);
    if (lines == 2 || lines == 5) Post(WM_KEYER_SPEED_RESET, lines);
  }
  if (PaddleContactClosed(report.InputLines())) Post(WM_KEYER_PADDLE, lines);
  if (lines != kLinesAtRest) {
    Post(WM_KEYER_INPUT,
         firmware_.inputLinesMessage ? lines : static_cast<std::int8_t>(report.status));
  }
  if (const auto index = decoder_.Decode(report.decodeCounter, report.decodedCode)) {
    Post(WM_KEYER_DECODED, *index);
  }
}

void CCwDevice::HandlePaddleInput(std::uint8_t lines) {
  if (lines == kLinesAtRest) return;
  const PaddleLines paddle = PaddleLinesFor(HasFlag(modeFlags_, kPaddleReverseFlag));
  const bool dot = LineActive(lines, paddle.dot);
  const bool dash = LineActive(lines, paddle.dash);
  if (!dot && !dash) return;
  if (!keyer_.Paddle(dot, dash)) StopSendingLocked();
}

void CCwDevice::AnswerReport() {
  if (lines_.TakeUnwritten()) {
    SendCommand(Build(OutputLinesCommand{lines_.Lines()}));
  } else {
    SendCommand(Build(PollInputsCommand{}));
  }
}

bool CCwDevice::KanaMode() const {
  std::lock_guard lock(mutex_);
  return decoder_.KanaMode();
}

}  // namespace vantrel::keyer
