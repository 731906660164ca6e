#include "sim/code_keyer.h"

#include <algorithm>
#include <bit>

namespace vantrel::sim {
namespace {

constexpr std::uint8_t kWordSpace = 0x80;
constexpr platform::Micros kCharGapDots = 3;
// A word space follows the character gap already kept, making seven dots in all.
constexpr platform::Micros kWordSpaceDots = 7 - kCharGapDots;

// Elements run from bit 7 down to just above the lowest 1 bit, the closing marker.
int ElementCount(std::uint8_t code) {
  return 7 - std::countr_zero(code);
}

}  // namespace

void CodeKeyer::Queue(std::uint8_t code, platform::Micros now) {
  if (code == 0) return;
  queue_.push_back(code);
  if (phase_ == Phase::Idle) StartNext(now);
}

void CodeKeyer::Clear(platform::Micros now) {
  queue_.clear();
  timers_.Cancel(stepTimer_);
  stepTimer_ = 0;
  const bool keyed = phase_ == Phase::Element || phase_ == Phase::LeadIn;
  phase_ = Phase::Idle;
  transmitter_.Set(Line::Key, false, now);
  if (keyed && keyerPtt_) StartTail(now);
}

void CodeKeyer::HoldPtt(bool on, platform::Micros now) {
  heldPtt_ = on;
  if (!on) {
    timers_.Cancel(tailTimer_);
    tailTimer_ = 0;
    keyerPtt_ = false;
  }
  UpdatePtt(now);
}

std::uint8_t CodeKeyer::BufferState() const {
  const std::size_t pending = queue_.size() + (phase_ == Phase::Idle ? 0 : 1);
  return static_cast<std::uint8_t>(kBufferIdle - std::min<std::size_t>(pending, kBufferIdle));
}

void CodeKeyer::Reset() {
  settings_ = {};
  queue_.clear();
  phase_ = Phase::Idle;
  stepTimer_ = tailTimer_ = 0;
  keyerPtt_ = heldPtt_ = false;
}

void CodeKeyer::StartNext(platform::Micros at) {
  phase_ = Phase::Idle;
  if (queue_.empty()) return;
  code_ = queue_.front();
  queue_.pop_front();
  phase_ = Phase::Gap;
  if (code_ == kWordSpace) {
    stepTimer_ = timers_.ArmAt(at + kWordSpaceDots * settings_.DotLengthUs(),
                               [this](platform::Micros t) { StartNext(t); });
    return;
  }
  element_ = 0;
  elementCount_ = ElementCount(code_);
  StartElement(at);
}

void CodeKeyer::StartElement(platform::Micros at) {
  timers_.Cancel(tailTimer_);
  tailTimer_ = 0;
  if (!settings_.pttControl || keyerPtt_ || heldPtt_ || settings_.pttBeforeMs == 0) {
    if (settings_.pttControl) keyerPtt_ = true;
    UpdatePtt(at);
    KeyDown(at);
    return;
  }
  keyerPtt_ = true;
  UpdatePtt(at);
  phase_ = Phase::LeadIn;
  After(at + settings_.LeadInUs(), &CodeKeyer::KeyDown);
}

void CodeKeyer::KeyDown(platform::Micros at) {
  phase_ = Phase::Element;
  transmitter_.Set(Line::Key, true, at);
  After(at + (CurrentIsDash() ? settings_.DashUs() : settings_.DotUs()), &CodeKeyer::KeyUp);
}

void CodeKeyer::KeyUp(platform::Micros at) {
  transmitter_.Set(Line::Key, false, at);
  if (keyerPtt_) StartTail(at);
  phase_ = Phase::Gap;
  if (++element_ < elementCount_) {
    After(at + settings_.DotLengthUs(), &CodeKeyer::StartElement);
  } else {
    After(at + kCharGapDots * settings_.DotLengthUs(), &CodeKeyer::StartNext);
  }
}

void CodeKeyer::After(platform::Micros at, void (CodeKeyer::*step)(platform::Micros)) {
  stepTimer_ = timers_.ArmAt(at, [this, step](platform::Micros t) { (this->*step)(t); });
}

void CodeKeyer::StartTail(platform::Micros at) {
  timers_.Cancel(tailTimer_);
  tailTimer_ = timers_.ArmAt(at + settings_.TailUs(), [this](platform::Micros t) { EndTail(t); });
}

void CodeKeyer::EndTail(platform::Micros at) {
  tailTimer_ = 0;
  keyerPtt_ = false;
  UpdatePtt(at);
}

void CodeKeyer::UpdatePtt(platform::Micros at) {
  transmitter_.Set(Line::Ptt, keyerPtt_ || heldPtt_, at);
}

bool CodeKeyer::CurrentIsDash() const {
  return (code_ >> (7 - element_)) & 1;
}

}  // namespace vantrel::sim
