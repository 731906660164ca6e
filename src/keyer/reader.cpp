#include "keyer/cw_device.h"
#include "keyer/element_string.h"
#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"

namespace vantrel::keyer {
namespace {

constexpr std::uint8_t kNoInputs = 0x0F;

bool PaddleContactClosed(std::uint8_t lines) {
  return (lines & 0x01) == 0 || (lines & 0x04) == 0;
}

}  // namespace

int CCwDevice::SendText(std::string text) {
  std::lock_guard lock(mutex_);
  if (text.empty()) return -1;
  MarkStepStart();
  if (firmwareVersion_ < 20) {
    BuildElementString(codeTable_, text, elementString_);
    AdvanceElements();
  } else {
    SendCodes(text);
  }
  return 0;
}

void CCwDevice::SendCodes(std::string_view text) {
  const EncodedCodes encoded = encoder_.Encode(codeTable_, text);
  if (encoded.writeCommand) {
    CommandReport report = MakeCommand(CmdSendCodes);
    std::copy(encoded.codes.begin(), encoded.codes.end(), report.begin() + 2);
    SendCommand(report);
  }
  if (encoded.postCharSent) Post(WM_KEYER_CHAR_SENT);
}

void CCwDevice::StopSending() {
  std::lock_guard lock(mutex_);
  MarkStepStart();
  StopSendingLocked();
}

void CCwDevice::StopSendingLocked() {
  elementString_.clear();
  keyingState_ = KeyingState::Idle;
  if (pcSidetoneOn_ && sidetoneOpen_) services_.tone.Pause();
  CancelTimer(pttTimer_);
  CancelTimer(elementTimer_);
  SetOutputLines(0x0F);
  // The lines are released, so the next element must wait for the lead-in again, and a
  // remembered paddle element must not block the paddle.
  paddleMemory_ = PaddleMemory::Empty;
  pttState_ = PttState::Off;
  leadInPending_ = false;
  if (firmwareVersion_ >= 20) {
    SendCommand(MakeCommand(CmdClearBuffer));
    SendCommand(MakeCommand(CmdPtt, {0, 0}));
  } else {
    SendCommand(MakeAllLinesCommand(CmdOutputLines, 0x0F));
  }
}

void CCwDevice::Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  if (targetWindow_ != nullptr) targetWindow_->Post(message, wParam, lParam);
}

void CCwDevice::HandleReport(const std::uint8_t* report) {
  MarkStepStart();
  switch (report[1]) {
    case KindSpeed: {
      const int half = static_cast<std::int8_t>(report[2]);
      const int dot = static_cast<int>(dotLength_);
      if (half != 0 && half != dot / 2) Post(WM_KEYER_SPEED, half, 2 * half < dot ? 1 : 0);
      break;
    }
    case KindModeFlags:
      std::copy(report + 2, report + 5, modeFlags_.begin());
      break;
    case KindStatus:
      lastStatusValue_ = report[2];
      break;
    default:
      break;
  }
  if (firmwareVersion_ >= 23) {
    const int field = (report[7] >> 5) & 0x03;
    if (field != lastSpeedSwitch_) {
      if (lastSpeedSwitch_ == 3 && field == 2) Post(WM_KEYER_SPEED_UP, 0);
      if (lastSpeedSwitch_ == 3 && field == 1) Post(WM_KEYER_SPEED_DOWN, 0);
      lastSpeedSwitch_ = field;
    }
  }
  if (firmwareVersion_ >= 20) HandleStatusBytes(report);
  if (report[1] == KindInputLines && report[3] == 3) HandlePaddleInput(report);
  if (firmwareVersion_ < 20) AnswerReport();
}

void CCwDevice::HandleStatusBytes(const std::uint8_t* report) {
  const int buffer = report[8] >> 4;
  const int lines = report[8] & 0x0F;
  if (buffer < 15) lastDecodeCounter_ = -1;
  Post(WM_KEYER_STATUS, buffer, lines);
  if (report[7] == 0) {
    if (lines == 3) Post(WM_KEYER_SPEED_DOWN, 3);
    if (lines == 6) Post(WM_KEYER_SPEED_UP, 6);
    if (lines == 2 || lines == 5) Post(WM_KEYER_SPEED_RESET, lines);
  }
  if (PaddleContactClosed(static_cast<std::uint8_t>(lines))) Post(WM_KEYER_PADDLE, lines);
  if (lines != kNoInputs) {
    Post(WM_KEYER_INPUT, firmwareVersion_ <= 22 ? static_cast<std::int8_t>(report[8]) : lines);
  }
  DecodePaddle(static_cast<std::int8_t>(report[5]), report[6]);
}

void CCwDevice::DecodePaddle(std::int8_t counter, std::uint8_t code) {
  if (counter == lastDecodeCounter_) return;
  // The first counter seen, and anything while decoding is off, only becomes the reference.
  if (lastDecodeCounter_ == -1 || !decodeEnabled_) code = kNoCode;
  const int index = FindDecodedIndex(code, kanaMode_);
  if (index >= 0 && (index < kFirstKatakanaIndex || kanaMode_)) Post(WM_KEYER_DECODED, index);
  InjectKeystrokes(code);
  lastDecodeCounter_ = counter;
}

void CCwDevice::InjectKeystrokes(std::uint8_t code) {
  auto& keys = services_.keys;
  auto tap = [&keys](int key) {
    keys.Key(key, true);
    keys.Key(key, false);
  };
  switch (code) {
    case 0x01:
      tap(platform::kVkBack);
      break;
    case 0x16:
      tap(platform::kVkEscape);
      break;
    case 0x9E:
    case 0x14:
      kanaMode_ = code == 0x9E;
      keys.Key(platform::kVkMenu, true);
      tap(platform::kVkKana);
      keys.Key(platform::kVkMenu, false);
      break;
    default:
      break;
  }
}

void CCwDevice::HandlePaddleInput(const std::uint8_t* report) {
  const std::uint8_t dotMask = paddleReverse_ ? 0x04 : 0x01;
  const std::uint8_t dashMask = paddleReverse_ ? 0x01 : 0x04;
  const std::uint8_t lines = report[2];
  if (report[1] != KindInputLines || lines == kNoInputs) return;
  const bool dot = (lines & dotMask) == 0;
  const bool dash = (lines & dashMask) == 0;
  paddleState_ = dot && dash ? PaddleState::Both
                 : dot       ? PaddleState::Dot
                 : dash      ? PaddleState::Dash
                             : PaddleState::None;
  if (paddleState_ == PaddleState::None) return;
  if (!elementString_.empty()) {
    StopSendingLocked();
    return;
  }
  if (paddleMemory_ != PaddleMemory::Empty) return;
  switch (keyingState_) {
    case KeyingState::Dash:
      if (dot) paddleMemory_ = PaddleMemory::Dot;
      Post(WM_KEYER_PADDLE, 1);
      break;
    case KeyingState::Dot:
      if (dash) paddleMemory_ = PaddleMemory::Dash;
      Post(WM_KEYER_PADDLE, 2);
      break;
    case KeyingState::Idle:
      if (dot) {
        StartDot();
      } else {
        StartDash();
      }
      break;
    default:
      break;
  }
}

void CCwDevice::AnswerReport() {
  if (outputLines_ != lastOutputLinesWritten_) {
    lastOutputLinesWritten_ = outputLines_;
    SendCommand(MakeCommand(CmdOutputLines, {outputLines_}));
  } else {
    SendCommand(MakeCommand(CmdPollInputs, {0x0F, 3}));
  }
}

}  // namespace vantrel::keyer
