#include "keyer/cw_device.h"
#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"

namespace vantrel::keyer {

int CCwDevice::SendText(std::string text) {
  std::lock_guard lock(mutex_);
  if (text.empty()) return -1;
  keyer_.MarkStepStart();
  if (firmware_.pcTimedKeying) {
    keyer_.Send(codeTable_, text);
  } else {
    SendCodes(text);
  }
  return 0;
}

bool CCwDevice::HasCode(char character) const {
  std::lock_guard lock(mutex_);
  return CodeFor(codeTable_, character) != kNoCode;
}

void CCwDevice::SendCodes(std::string_view text) {
  const EncodedCodes encoded = encoder_.Encode(codeTable_, text);
  if (encoded.writeCommand) SendCommand(Build(SendCodesCommand{encoded.codes}));
  if (encoded.postCharSent) Post(WM_KEYER_CHAR_SENT);
}

void CCwDevice::StopSending() {
  std::lock_guard lock(mutex_);
  keyer_.MarkStepStart();
  StopSendingLocked();
}

void CCwDevice::StopSendingLocked() {
  keyer_.Stop();
  if (firmware_.TakesCodes()) {
    SendCommand(Build(ClearBufferCommand{}));
    SendCommand(Build(PttCommand{false}));
  } else {
    SendCommand(AllLinesCommand(CmdOutputLines, kLinesAtRest));
  }
}

std::uint8_t CCwDevice::OutputLines() const {
  std::lock_guard lock(mutex_);
  return lines_.Lines();
}

KeyingState CCwDevice::GetKeyingState() const {
  std::lock_guard lock(mutex_);
  return keyer_.State();
}

PttState CCwDevice::GetPttState() const {
  std::lock_guard lock(mutex_);
  return keyer_.Ptt();
}

PaddleMemory CCwDevice::GetPaddleMemory() const {
  std::lock_guard lock(mutex_);
  return keyer_.Memory();
}

std::string CCwDevice::ElementString() const {
  std::lock_guard lock(mutex_);
  return keyer_.Elements();
}

}  // namespace vantrel::keyer
