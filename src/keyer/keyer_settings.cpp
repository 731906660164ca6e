#include <algorithm>

#include "keyer/cw_device.h"

namespace vantrel::keyer {
namespace {

bool InRange(float value, float low, float high) {
  return value >= low && value <= high;
}
std::uint8_t Flag(bool on) {
  return on ? 1 : 0;
}

}  // namespace

int CCwDevice::SetSpeed(unsigned wpm) {
  std::lock_guard lock(mutex_);
  if (wpm < 5 || wpm > 50) return -1;
  wpm_ = wpm;
  dotLength_ = 1200 / wpm;
  if (firmwareVersion_ == 20) SendKeyerParams(0);
  if (firmwareVersion_ > 20) {
    SendCommand(MakeCommand(CmdSpeed, {static_cast<std::uint8_t>(dotLength_ / 2)}));
  }
  return 0;
}

unsigned CCwDevice::GetSpeed() const {
  std::lock_guard lock(mutex_);
  return wpm_;
}

int CCwDevice::SetDotWeight(float weight) {
  std::lock_guard lock(mutex_);
  if (!InRange(weight, 0.0f, 5.0f)) return -1;
  dotWeight_ = weight;
  if (firmwareVersion_ >= 20) SendKeyerParams(static_cast<std::uint8_t>(sidetoneIndex_));
  return 0;
}

int CCwDevice::SetDashWeight(float weight) {
  std::lock_guard lock(mutex_);
  if (!InRange(weight, 0.0f, 5.0f)) return -1;
  dashWeight_ = weight;
  if (firmwareVersion_ >= 20) SendKeyerParams(static_cast<std::uint8_t>(sidetoneIndex_));
  return 0;
}

int CCwDevice::SetPttDelayBefore(unsigned ms) {
  std::lock_guard lock(mutex_);
  if (ms > 100) return -1;
  pttDelayBefore_ = ms;
  if (firmwareVersion_ >= 20) SendPttDelays();
  return 0;
}

int CCwDevice::SetPttDelayAfter(unsigned ms) {
  std::lock_guard lock(mutex_);
  if (ms > 500) return -1;
  pttDelayAfter_ = ms;
  if (firmwareVersion_ >= 20) SendPttDelays();
  return 0;
}

int CCwDevice::SetCharInterval(float interval) {
  std::lock_guard lock(mutex_);
  if (!InRange(interval, 2.0f, 10.0f)) return -1;
  charInterval_ = interval;
  return 0;
}

int CCwDevice::SetWordInterval(float interval) {
  std::lock_guard lock(mutex_);
  if (!InRange(interval, 3.0f, 20.0f)) return -1;
  wordInterval_ = interval;
  return 0;
}

void CCwDevice::SetPttControl(bool on) {
  std::lock_guard lock(mutex_);
  MarkStepStart();
  pttControl_ = on;
  if (on) {
    modeFlags_[0] |= 0x04;
  } else {
    modeFlags_[0] &= ~0x04;
    SetPtt(false);
  }
  if (firmwareVersion_ == 20) SendModeFlags();
  if (firmwareVersion_ > 20) SendCommand(MakeCommand(CmdPttControl, {Flag(on)}));
}

void CCwDevice::SetPaddleReverse(bool on) {
  std::lock_guard lock(mutex_);
  paddleReverse_ = on;
  if (on) {
    modeFlags_[1] |= 0x20;
  } else {
    modeFlags_[1] &= ~0x20;
  }
  if (firmwareVersion_ == 20) SendModeFlags();
  if (firmwareVersion_ > 20) SendCommand(MakeCommand(CmdPaddleReverse, {0, 0, Flag(on)}));
}

void CCwDevice::SetSidetoneIndex(unsigned index) {
  std::lock_guard lock(mutex_);
  if (index > 13 || index == sidetoneIndex_) return;
  sidetoneIndex_ = index;
  if (firmwareVersion_ >= 23) SendKeyerParams(static_cast<std::uint8_t>(index));
}

void CCwDevice::SendSidetoneIndex(unsigned index) {
  std::lock_guard lock(mutex_);
  if (firmwareVersion_ >= 23) SendKeyerParams(static_cast<std::uint8_t>(index & 0xFF));
}

void CCwDevice::SetPttHold(bool on) {
  std::lock_guard lock(mutex_);
  MarkStepStart();
  pttHold_ = on;
  pttState_ = on ? PttState::On : PttState::Off;
  SetPtt(on);
}

void CCwDevice::SetDecodeEnabled(bool on) {
  std::lock_guard lock(mutex_);
  decodeEnabled_ = on;
}

void CCwDevice::SetPcSidetone(bool on) {
  std::lock_guard lock(mutex_);
  pcSidetoneOn_ = on;
}

void CCwDevice::SetPcSidetoneFreq(unsigned hz) {
  std::lock_guard lock(mutex_);
  if (hz < 100 || hz > 4000 || hz == pcSidetoneFreq_) return;
  pcSidetoneFreq_ = hz;
  CloseSidetone();
  OpenSidetone();
}

void CCwDevice::ClearBuffer() {
  std::lock_guard lock(mutex_);
  SendCommand(MakeCommand(CmdClearBuffer));
}

void CCwDevice::SendKeyerParams(std::uint8_t sidetoneByte) {
  SendCommand(MakeCommand(CmdKeyerParams,
                          {static_cast<std::uint8_t>(dotLength_ / 2), EncodeWeight(dotWeight_),
                           EncodeWeight(dashWeight_), 2, sidetoneByte}));
}

void CCwDevice::SendPttDelays() {
  // The interface takes one byte per delay; a longer tail is sent as the longest it can hold.
  SendCommand(
      MakeCommand(CmdPttDelays, {static_cast<std::uint8_t>(pttDelayBefore_),
                                 static_cast<std::uint8_t>(std::min(pttDelayAfter_, 255u))}));
}

void CCwDevice::SendModeFlags() {
  SendCommand(MakeCommand(CmdModeFlags, {modeFlags_[0], modeFlags_[1], modeFlags_[2]}));
}

bool CCwDevice::KanaMode() const {
  std::lock_guard lock(mutex_);
  return kanaMode_;
}

std::uint8_t CCwDevice::OutputLines() const {
  std::lock_guard lock(mutex_);
  return outputLines_;
}

KeyingState CCwDevice::GetKeyingState() const {
  std::lock_guard lock(mutex_);
  return keyingState_;
}

PttState CCwDevice::GetPttState() const {
  std::lock_guard lock(mutex_);
  return pttState_;
}

PaddleMemory CCwDevice::GetPaddleMemory() const {
  std::lock_guard lock(mutex_);
  return paddleMemory_;
}

std::string CCwDevice::ElementString() const {
  std::lock_guard lock(mutex_);
  return elementString_;
}

std::array<std::uint8_t, 3> CCwDevice::ModeFlags() const {
  std::lock_guard lock(mutex_);
  return modeFlags_;
}

unsigned CCwDevice::DotLength() const {
  std::lock_guard lock(mutex_);
  return dotLength_;
}

}  // namespace vantrel::keyer
