#include <algorithm>

#include "keyer/cw_device.h"

namespace vantrel::keyer {
namespace {

bool InRange(float value, float low, float high) {
  return value >= low && value <= high;
}

}  // namespace

int CCwDevice::SetSpeed(unsigned wpm) {
  std::lock_guard lock(mutex_);
  if (wpm < kMinWpm || wpm > kMaxWpm) return -1;
  params_.wpm = wpm;
  if (firmware_.speed == SettingRoute::KeyerParams) SendKeyerParams(0);
  if (firmware_.speed == SettingRoute::OwnCommand) {
    SendCommand(Build(SpeedCommand{EncodeHalfDot(params_.DotLength())}));
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
  if (firmware_.takesKeyingParams) {
    SendKeyerParams(static_cast<std::uint8_t>(params_.sidetoneIndex));
  }
  return 0;
}

int CCwDevice::SetDashWeight(float weight) {
  std::lock_guard lock(mutex_);
  if (!InRange(weight, 0.0f, kMaxWeight)) return -1;
  params_.dashWeight = weight;
  if (firmware_.takesKeyingParams) {
    SendKeyerParams(static_cast<std::uint8_t>(params_.sidetoneIndex));
  }
  return 0;
}

int CCwDevice::SetPttDelayBefore(unsigned ms) {
  std::lock_guard lock(mutex_);
  if (ms > kMaxPttDelayBefore) return -1;
  params_.pttDelayBefore = ms;
  if (firmware_.takesKeyingParams) SendPttDelays();
  return 0;
}

int CCwDevice::SetPttDelayAfter(unsigned ms) {
  std::lock_guard lock(mutex_);
  if (ms > kMaxPttDelayAfter) return -1;
  params_.pttDelayAfter = ms;
  if (firmware_.takesKeyingParams) SendPttDelays();
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
  SetFlag(modeFlags_, kPttControlFlag, on);
  if (!on) SetPtt(false);
  SendSwitch(Build(PttControlCommand{on}));
}

void CCwDevice::SetPaddleReverse(bool on) {
  std::lock_guard lock(mutex_);
  SetFlag(modeFlags_, kPaddleReverseFlag, on);
  SendSwitch(Build(PaddleReverseCommand{on}));
}

void CCwDevice::SetSidetoneIndex(unsigned index) {
  std::lock_guard lock(mutex_);
  if (index > 13 || index == params_.sidetoneIndex) return;
  params_.sidetoneIndex = index;
  if (firmware_.interfaceSidetone) SendKeyerParams(static_cast<std::uint8_t>(index));
}

void CCwDevice::SendSidetoneIndex(unsigned index) {
  std::lock_guard lock(mutex_);
  if (firmware_.interfaceSidetone) SendKeyerParams(static_cast<std::uint8_t>(index & 0xFF));
}

void CCwDevice::SetPttHold(bool on) {
  std::lock_guard lock(mutex_);
  keyer_.MarkStepStart();
  keyer_.SetPttHold(on);
  SetPtt(on);
}

void CCwDevice::SetDecodeEnabled(bool on) {
  std::lock_guard lock(mutex_);
  decoder_.SetEnabled(on);
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

ModeFlagBytes CCwDevice::ModeFlags() const {
  std::lock_guard lock(mutex_);
  return modeFlags_;
}

void CCwDevice::SetPtt(bool on) {
  if (firmware_.TakesCodes()) {
    SendCommand(Build(PttCommand{on}));
  } else {
    keyer_.SetPttLine(on);
  }
}

void CCwDevice::SendKeyerParams(std::uint8_t sidetoneByte) {
  SendCommand(Build(KeyerParamsCommand{.halfDotMs = EncodeHalfDot(params_.DotLength()),
                                       .dotWeight2 = EncodeWeight(params_.dotWeight),
                                       .dashWeight2 = EncodeWeight(params_.dashWeight),
                                       .sidetoneIndex = sidetoneByte}));
}

void CCwDevice::SendPttDelays() {
  // The interface takes one byte per delay; a longer tail is sent as the longest it can hold.
  SendCommand(
      Build(PttDelaysCommand{static_cast<std::uint8_t>(params_.pttDelayBefore),
                             static_cast<std::uint8_t>(std::min(params_.pttDelayAfter, 255u))}));
}

void CCwDevice::SendModeFlags() {
  SendCommand(Build(ModeFlagsCommand{modeFlags_}));
}

void CCwDevice::SendSwitch(const CommandReport& ownCommand) {
  if (firmware_.switches == SettingRoute::ModeFlags) SendModeFlags();
  if (firmware_.switches == SettingRoute::OwnCommand) SendCommand(ownCommand);
}

}  // namespace vantrel::keyer
