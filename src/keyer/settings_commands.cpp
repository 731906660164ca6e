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
  if (wpm < kMinWpm || wpm > kMaxWpm) return -1;
  params_.wpm = wpm;
  if (firmwareVersion_ == 20) SendKeyerParams(0);
  if (firmwareVersion_ > 20) {
    SendCommand(MakeCommand(CmdSpeed, {static_cast<std::uint8_t>(params_.DotLength() / 2)}));
  }
  return 0;
}

unsigned CCwDevice::GetSpeed() const {
  std::lock_guard lock(mutex_);
  return params_.wpm;
}

unsigned CCwDevice::DotLength() const {
  std::lock_guard lock(mutex_);
  return params_.DotLength();
}

int CCwDevice::SetDotWeight(float weight) {
  std::lock_guard lock(mutex_);
  if (!InRange(weight, 0.0f, kMaxWeight)) return -1;
  params_.dotWeight = weight;
  if (firmwareVersion_ >= 20) SendKeyerParams(static_cast<std::uint8_t>(params_.sidetoneIndex));
  return 0;
}

int CCwDevice::SetDashWeight(float weight) {
  std::lock_guard lock(mutex_);
  if (!InRange(weight, 0.0f, kMaxWeight)) return -1;
  params_.dashWeight = weight;
  if (firmwareVersion_ >= 20) SendKeyerParams(static_cast<std::uint8_t>(params_.sidetoneIndex));
  return 0;
}

int CCwDevice::SetPttDelayBefore(unsigned ms) {
  std::lock_guard lock(mutex_);
  if (ms > kMaxPttDelayBefore) return -1;
  params_.pttDelayBefore = ms;
  if (firmwareVersion_ >= 20) SendPttDelays();
  return 0;
}

int CCwDevice::SetPttDelayAfter(unsigned ms) {
  std::lock_guard lock(mutex_);
  if (ms > kMaxPttDelayAfter) return -1;
  params_.pttDelayAfter = ms;
  if (firmwareVersion_ >= 20) SendPttDelays();
  return 0;
}

int CCwDevice::SetCharInterval(float interval) {
  std::lock_guard lock(mutex_);
  if (!InRange(interval, kMinCharInterval, kMaxCharInterval)) return -1;
  params_.charInterval = interval;
  return 0;
}

int CCwDevice::SetWordInterval(float interval) {
  std::lock_guard lock(mutex_);
  if (!InRange(interval, kMinWordInterval, kMaxWordInterval)) return -1;
  params_.wordInterval = interval;
  return 0;
}

void CCwDevice::SetPttControl(bool on) {
  std::lock_guard lock(mutex_);
  keyer_.MarkStepStart();
  params_.pttControl = on;
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
  if (index > 13 || index == params_.sidetoneIndex) return;
  params_.sidetoneIndex = index;
  if (firmwareVersion_ >= 23) SendKeyerParams(static_cast<std::uint8_t>(index));
}

void CCwDevice::SendSidetoneIndex(unsigned index) {
  std::lock_guard lock(mutex_);
  if (firmwareVersion_ >= 23) SendKeyerParams(static_cast<std::uint8_t>(index & 0xFF));
}

void CCwDevice::SetPttHold(bool on) {
  std::lock_guard lock(mutex_);
  keyer_.MarkStepStart();
  keyer_.SetPttHold(on);
  SetPtt(on);
}

void CCwDevice::SetDecodeEnabled(bool on) {
  std::lock_guard lock(mutex_);
  decodeEnabled_ = on;
}

void CCwDevice::SetPcSidetone(bool on) {
  std::lock_guard lock(mutex_);
  params_.pcSidetone = on;
}

void CCwDevice::SetPcSidetoneFreq(unsigned hz) {
  std::lock_guard lock(mutex_);
  if (hz < 100 || hz > 4000 || hz == params_.pcSidetoneFreq) return;
  params_.pcSidetoneFreq = hz;
  keyer_.CloseSidetone();
  keyer_.OpenSidetone();
}

void CCwDevice::ClearBuffer() {
  std::lock_guard lock(mutex_);
  SendCommand(MakeCommand(CmdClearBuffer));
}

std::array<std::uint8_t, 3> CCwDevice::ModeFlags() const {
  std::lock_guard lock(mutex_);
  return modeFlags_;
}

void CCwDevice::SetPtt(bool on) {
  if (firmwareVersion_ >= 20) {
    SendCommand(MakeCommand(CmdPtt, {0, Flag(on)}));
  } else {
    keyer_.SetPttLine(on);
  }
}

void CCwDevice::SendKeyerParams(std::uint8_t sidetoneByte) {
  SendCommand(MakeCommand(CmdKeyerParams, {static_cast<std::uint8_t>(params_.DotLength() / 2),
                                           EncodeWeight(params_.dotWeight),
                                           EncodeWeight(params_.dashWeight), 2, sidetoneByte}));
}

void CCwDevice::SendPttDelays() {
  // The interface takes one byte per delay; a longer tail is sent as the longest it can hold.
  SendCommand(MakeCommand(CmdPttDelays,
                          {static_cast<std::uint8_t>(params_.pttDelayBefore),
                           static_cast<std::uint8_t>(std::min(params_.pttDelayAfter, 255u))}));
}

void CCwDevice::SendModeFlags() {
  SendCommand(MakeCommand(CmdModeFlags, {modeFlags_[0], modeFlags_[1], modeFlags_[2]}));
}

}  // namespace vantrel::keyer
