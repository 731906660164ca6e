#include <cmath>
#include <utility>

#include "keyer/cw_device.h"
#include "keyer/keyer_messages.h"

namespace vantrel::keyer {
namespace {

// Durations are the integer dot length times a 32-bit float, truncated toward zero; the
// product is taken in double so that 60 x 3.3f gives 197 as the exact value does.
unsigned Scaled(unsigned dotLength, float factor, double minus = 0.0) {
  const double value = static_cast<double>(dotLength) * static_cast<double>(factor) - minus;
  return value <= 0.0 ? 0u : static_cast<unsigned>(std::trunc(value));
}

}  // namespace

void CCwDevice::MarkStepStart() {
  stepStart_ = services_.timers.Now();
}

void CCwDevice::StartDot() {
  StartElement(Scaled(dotLength_, dotWeight_), true);
  keyingState_ = KeyingState::Dot;
}

void CCwDevice::StartDash() {
  StartElement(Scaled(dotLength_, dashWeight_), true);
  keyingState_ = KeyingState::Dash;
}

void CCwDevice::StartElement(unsigned duration, bool keyDown) {
  if (duration != 0) savedDuration_ = duration;
  if (!keyDown) {
    SetKey(false);
    if (pttControl_) RunPtt(false);
    elementTimer_ = Arm(duration, &CCwDevice::SpaceEndProc, true);
    return;
  }
  if (pttControl_) {
    if (leadInPending_) {
      leadInPending_ = false;
    } else if (pttState_ == PttState::Off && pttDelayBefore_ > 0) {
      leadInPending_ = true;
    }
    RunPtt(true);
  }
  if (leadInPending_) return;
  elementTimer_ = Arm(savedDuration_, &CCwDevice::ElementEndProc, true);
  SetKey(true);
}

void CCwDevice::AdvanceElements() {
  if (elementString_.empty()) return;
  if (keyingState_ == KeyingState::Idle && elementString_.front() == '!')
    elementString_.erase(0, 1);
  if (elementString_.empty()) {
    keyingState_ = KeyingState::Idle;
    Post(WM_KEYER_TEXT_DONE);
    return;
  }
  switch (elementString_.front()) {
    case ',':
      keyingState_ = KeyingState::CharSpace;
      StartElement(Scaled(dotLength_, charInterval_, dotLength_), false);
      elementString_.front() = '!';
      Post(WM_KEYER_CHAR_SENT);
      break;
    case '_':
      keyingState_ = KeyingState::WordSpace;
      StartElement(Scaled(dotLength_, wordInterval_, dotLength_), false);
      elementString_.front() = '!';
      Post(WM_KEYER_WORD_SPACE);
      break;
    case '-':
      StartDash();
      elementString_.front() = '!';
      break;
    case '.':
      StartDot();
      elementString_.front() = '!';
      break;
    default:
      break;
  }
}

void CCwDevice::OnElementEnd() {
  StartElement(dotLength_, false);
  keyingState_ = KeyingState::ElementSpace;
}

void CCwDevice::OnSpaceEnd() {
  keyingState_ = KeyingState::Idle;
  AdvanceElements();
  const PaddleMemory memory = std::exchange(paddleMemory_, PaddleMemory::Empty);
  if (memory == PaddleMemory::Dot) StartDot();
  if (memory == PaddleMemory::Dash) StartDash();
}

void CCwDevice::SetKey(bool down) {
  SetOutputLines(static_cast<std::uint8_t>(down ? outputLines_ & ~0x01 : outputLines_ | 0x01));
  if (pcSidetoneOn_ && sidetoneOpen_) {
    if (down) {
      services_.tone.Start();
    } else {
      services_.tone.Pause();
    }
  }
}

void CCwDevice::SetPtt(bool on) {
  if (firmwareVersion_ >= 20) {
    SendCommand(MakeCommand(CmdPtt, {0, static_cast<std::uint8_t>(on ? 1 : 0)}));
    return;
  }
  if (on) {
    SetOutputLines(static_cast<std::uint8_t>(outputLines_ & ~0x02));
    return;
  }
  if (pttHold_) return;
  pttState_ = PttState::Off;
  SetOutputLines(static_cast<std::uint8_t>(outputLines_ | 0x02));
}

void CCwDevice::SetOutputLines(std::uint8_t lines) {
  if (lines == outputLines_) return;
  outputLines_ = lines;
  if (linesObserver_) linesObserver_(lines);
}

void CCwDevice::RunPtt(bool on) {
  if (!on) {
    if (pttDelayAfter_ > 0) {
      pttState_ = PttState::Tail;
      CancelTimer(pttTimer_);
      pttTimer_ = Arm(pttDelayAfter_, &CCwDevice::TailEndProc, false);
    } else {
      SetPtt(false);
    }
    return;
  }
  CancelTimer(pttTimer_);
  if (pttDelayBefore_ > 0 && leadInPending_) {
    pttState_ = PttState::LeadIn;
    pttTimer_ = Arm(pttDelayBefore_, &CCwDevice::LeadInEndProc, false);
  } else {
    pttState_ = PttState::On;
  }
  SetPtt(true);
}

platform::TimerService::TimerId CCwDevice::Arm(unsigned durationMs, TimerProc proc,
                                               bool elementSlot) {
  CancelTimer(elementSlot ? elementTimer_ : pttTimer_);
  const platform::Micros deadline = stepStart_ + static_cast<platform::Micros>(durationMs) * 1000;
  return services_.timers.ArmAt(deadline, [this, proc, elementSlot](auto id, auto due) {
    OnTimer(id, due, proc, elementSlot);
  });
}

void CCwDevice::OnTimer(platform::TimerService::TimerId id, platform::Micros deadline,
                        TimerProc proc, bool elementSlot) {
  std::lock_guard lock(mutex_);
  auto& slot = elementSlot ? elementTimer_ : pttTimer_;
  // A timer cancelled while its callback was already on its way no longer owns the slot.
  if (slot != id) return;
  slot = 0;
  stepStart_ = deadline;
  (this->*proc)();
}

void CCwDevice::CancelTimer(platform::TimerService::TimerId& slot) {
  if (slot == 0) return;
  services_.timers.Cancel(slot);
  slot = 0;
}

void CCwDevice::ElementEndProc() {
  OnElementEnd();
}
void CCwDevice::SpaceEndProc() {
  OnSpaceEnd();
}

void CCwDevice::LeadInEndProc() {
  pttState_ = PttState::On;
  StartElement(0, true);
}

void CCwDevice::TailEndProc() {
  SetPtt(false);
}

void CCwDevice::OpenSidetone() {
  sidetoneOpen_ = services_.tone.Open(pcSidetoneFreq_);
}

void CCwDevice::CloseSidetone() {
  if (sidetoneOpen_) services_.tone.Close();
  sidetoneOpen_ = false;
}

}  // namespace vantrel::keyer
