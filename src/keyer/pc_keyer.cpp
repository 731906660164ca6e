#include "keyer/pc_keyer.h"

#include <cmath>
#include <utility>

#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"

namespace vantrel::keyer {
namespace {

// The symbol at the front of the element string is overwritten with this one when its element
// or gap starts; the next step from idle drops it.
constexpr char kStartedSymbol = '!';

// A key-down of this length keeps the last one's: the end of the PTT lead-in starts the
// element it held back. A weight that scales an element to nothing keeps it likewise.
constexpr unsigned kLastElementLength = 0;

// Durations are the integer dot length times a 32-bit float, truncated toward zero; the
// product is taken in double so that 60 x 3.3f gives 197 as the exact value does.
unsigned Scaled(unsigned dotLength, float factor, double minus = 0.0) {
  const double value = static_cast<double>(dotLength) * static_cast<double>(factor) - minus;
  return value <= 0.0 ? 0u : static_cast<unsigned>(std::trunc(value));
}

void AppendElements(std::uint8_t code, std::string& elementString) {
  for (int i = ElementCount(code); i > 0; --i) {
    elementString.push_back((code & 0x80) != 0 ? kDashSymbol : kDotSymbol);
    code = static_cast<std::uint8_t>(code << 1);
  }
}

}  // namespace

void BuildElementString(const CodeTable& table, std::string_view text, std::string& elementString) {
  bool prosign = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char byte = text[i];
    if (byte == kWordSpace) {
      elementString.push_back(kWordGapSymbol);
      prosign = false;
    } else if (byte == kProsignMark) {
      prosign = true;
    } else if (const std::uint8_t code = table.Lookup(static_cast<std::uint8_t>(byte));
               code != kNoCode) {
      AppendElements(code, elementString);
      const bool spaceFollows = i + 1 < text.size() && text[i + 1] == kWordSpace;
      if (!prosign && !spaceFollows) elementString.push_back(kCharGapSymbol);
    }
  }
}

PcKeyer::PcKeyer(PcKeyerServices services) : services_(std::move(services)) {}

void PcKeyer::MarkStepStart() {
  stepStart_ = services_.timers.Now();
}

void PcKeyer::Send(const CodeTable& table, std::string_view text) {
  BuildElementString(table, text, elementString_);
  AdvanceElements();
}

void PcKeyer::Stop() {
  elementString_.clear();
  keyingState_ = KeyingState::Idle;
  PauseTone();
  CancelTimers();
  services_.lines.Release();
  // The lines are released, so the next element must wait for the lead-in again, and a
  // remembered paddle element must not block the paddle.
  paddleMemory_ = PaddleMemory::Empty;
  pttState_ = PttState::Off;
  leadInPending_ = false;
}

void PcKeyer::CancelTimers() {
  CancelTimer(pttTimer_);
  CancelTimer(elementTimer_);
}

bool PcKeyer::Paddle(bool dot, bool dash) {
  if (!elementString_.empty()) return false;
  if (paddleMemory_ != PaddleMemory::Empty) return true;
  switch (keyingState_) {
    case KeyingState::Dash:
      if (dot) paddleMemory_ = PaddleMemory::Dot;
      services_.post(WM_KEYER_PADDLE, 1);
      break;
    case KeyingState::Dot:
      if (dash) paddleMemory_ = PaddleMemory::Dash;
      services_.post(WM_KEYER_PADDLE, 2);
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
  return true;
}

void PcKeyer::SetPttLine(bool on) {
  if (on) {
    services_.lines.SetPtt(true);
    return;
  }
  if (pttHold_) return;
  pttState_ = PttState::Off;
  services_.lines.SetPtt(false);
}

void PcKeyer::SetPttHold(bool on) {
  pttHold_ = on;
  pttState_ = on ? PttState::On : PttState::Off;
}

void PcKeyer::OpenSidetone() {
  sidetoneOpen_ = services_.tone.Open(services_.params.pcSidetoneFreq);
}

void PcKeyer::CloseSidetone() {
  if (sidetoneOpen_) services_.tone.Close();
  sidetoneOpen_ = false;
}

void PcKeyer::StartDot() {
  const KeyerParams& params = services_.params;
  StartElement(Scaled(params.DotLength(), params.dotWeight), true);
  keyingState_ = KeyingState::Dot;
}

void PcKeyer::StartDash() {
  const KeyerParams& params = services_.params;
  StartElement(Scaled(params.DotLength(), params.dashWeight), true);
  keyingState_ = KeyingState::Dash;
}

void PcKeyer::StartElement(unsigned duration, bool keyDown) {
  const KeyerParams& params = services_.params;
  if (duration != kLastElementLength) savedDuration_ = duration;
  if (!keyDown) {
    SetKey(false);
    if (params.pttControl) RunPtt(false);
    elementTimer_ = Arm(duration, &PcKeyer::OnSpaceEnd, true);
    return;
  }
  if (params.pttControl) {
    if (leadInPending_) {
      leadInPending_ = false;
    } else if (pttState_ == PttState::Off && params.pttDelayBefore > 0) {
      leadInPending_ = true;
    }
    RunPtt(true);
  }
  if (leadInPending_) return;
  elementTimer_ = Arm(savedDuration_, &PcKeyer::OnElementEnd, true);
  SetKey(true);
}

void PcKeyer::AdvanceElements() {
  if (elementString_.empty()) return;
  if (keyingState_ == KeyingState::Idle && elementString_.front() == kStartedSymbol)
    elementString_.erase(0, 1);
  if (elementString_.empty()) {
    keyingState_ = KeyingState::Idle;
    services_.post(WM_KEYER_TEXT_DONE, 0);
    return;
  }
  const unsigned dotLength = services_.params.DotLength();
  switch (elementString_.front()) {
    case kCharGapSymbol:
      keyingState_ = KeyingState::CharSpace;
      StartElement(Scaled(dotLength, services_.params.charInterval, dotLength), false);
      elementString_.front() = kStartedSymbol;
      services_.post(WM_KEYER_CHAR_SENT, 0);
      break;
    case kWordGapSymbol:
      keyingState_ = KeyingState::WordSpace;
      StartElement(Scaled(dotLength, services_.params.wordInterval, dotLength), false);
      elementString_.front() = kStartedSymbol;
      services_.post(WM_KEYER_WORD_SPACE, 0);
      break;
    case kDashSymbol:
      StartDash();
      elementString_.front() = kStartedSymbol;
      break;
    case kDotSymbol:
      StartDot();
      elementString_.front() = kStartedSymbol;
      break;
    default:
      break;
  }
}

void PcKeyer::OnElementEnd() {
  StartElement(services_.params.DotLength(), false);
  keyingState_ = KeyingState::ElementSpace;
}

void PcKeyer::OnSpaceEnd() {
  keyingState_ = KeyingState::Idle;
  AdvanceElements();
  const PaddleMemory memory = std::exchange(paddleMemory_, PaddleMemory::Empty);
  if (memory == PaddleMemory::Dot) StartDot();
  if (memory == PaddleMemory::Dash) StartDash();
}

void PcKeyer::OnLeadInEnd() {
  pttState_ = PttState::On;
  StartElement(kLastElementLength, true);
}

void PcKeyer::OnTailEnd() {
  SetPttLine(false);
}

void PcKeyer::SetKey(bool down) {
  services_.lines.SetKey(down);
  if (!services_.params.pcSidetone || !sidetoneOpen_) return;
  if (down) {
    services_.tone.Start();
  } else {
    services_.tone.Pause();
  }
}

void PcKeyer::PauseTone() {
  if (services_.params.pcSidetone && sidetoneOpen_) services_.tone.Pause();
}

void PcKeyer::RunPtt(bool on) {
  const KeyerParams& params = services_.params;
  if (!on) {
    if (params.pttDelayAfter > 0) {
      pttState_ = PttState::Tail;
      CancelTimer(pttTimer_);
      pttTimer_ = Arm(params.pttDelayAfter, &PcKeyer::OnTailEnd, false);
    } else {
      SetPttLine(false);
    }
    return;
  }
  CancelTimer(pttTimer_);
  if (params.pttDelayBefore > 0 && leadInPending_) {
    pttState_ = PttState::LeadIn;
    pttTimer_ = Arm(params.pttDelayBefore, &PcKeyer::OnLeadInEnd, false);
  } else {
    pttState_ = PttState::On;
  }
  SetPttLine(true);
}

platform::TimerService::TimerId PcKeyer::Arm(unsigned durationMs, TimerProc proc,
                                             bool elementSlot) {
  CancelTimer(elementSlot ? elementTimer_ : pttTimer_);
  const platform::Micros deadline = stepStart_ + static_cast<platform::Micros>(durationMs) * 1000;
  return services_.timers.ArmAt(deadline, [this, proc, elementSlot](auto id, auto due) {
    OnTimer(id, due, proc, elementSlot);
  });
}

void PcKeyer::OnTimer(platform::TimerService::TimerId id, platform::Micros deadline, TimerProc proc,
                      bool elementSlot) {
  std::lock_guard lock(services_.mutex);
  auto& slot = elementSlot ? elementTimer_ : pttTimer_;
  // A timer cancelled while its callback was already on its way no longer owns the slot.
  if (slot != id) return;
  slot = 0;
  stepStart_ = deadline;
  (this->*proc)();
}

void PcKeyer::CancelTimer(platform::TimerService::TimerId& slot) {
  if (slot == 0) return;
  services_.timers.Cancel(slot);
  slot = 0;
}

}  // namespace vantrel::keyer
