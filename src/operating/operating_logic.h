#pragma once

#include <cstdint>
#include <string>

#include "operating/bank_display.h"
#include "operating/key_handling.h"
#include "operating/keyer_port.h"
#include "operating/log_time.h"
#include "operating/network_text.h"
#include "operating/operating_view.h"
#include "operating/status_gate.h"
#include "settings/settings.h"

namespace vantrel::operating {

// Further CQ calls after the first: a fixed number, or without end.
inline constexpr int kCqRepeatCalls = 20;
inline constexpr int kEndlessCqRepeat = -1;

// A typed character after the window's handling: dropped when consumed, otherwise
// `character` (its case possibly changed) goes on to the focused control.
struct TypedCharacter {
  bool consumed = false;
  std::string character;
};

// The operator's work in the window: typing in both send modes with the pacing of queued
// text, the hot keys, the function keys and macros, the engine's notifications and the CQ
// repeat. Everything runs on the window's thread. The view, the keyer and the settings must
// outlive this object.
class OperatingLogic {
 public:
  OperatingLogic(OperatingView& view, KeyerPort& keyer, settings::Settings& settings,
                 LocalTimeClock clock = CurrentLocalTime);

  // Keyboard, before the focused control sees the event. Return whether it is consumed.
  bool OnKeyDown(Key key, Modifiers modifiers);
  void OnKeyUp(Key key);
  // One character as CP932 bytes; an input-method commit arrives one character at a time.
  TypedCharacter OnCharacter(std::string character, Modifiers modifiers);

  // Buttons.
  void OnSendButton();
  void StopTransmission();
  void OnClearButton();
  void OnFunctionButton(int key);

  // Message memories.
  void ShowBank(Bank bank);
  void SendFunctionKey(std::string text);
  void SendWithMacros(std::string text);

  // The engine's notifications (WM_KEYER_DECODED .. WM_KEYER_WORD_SPACE) and the CQ timer.
  void OnKeyerMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
  void OnCqTimer();

  // Pacing of queued text, on each status report with its buffer state.
  void OnStatus(int bufferState);
  // Told when the window can do without repeated status reports; the gate must outlive this.
  void SetStatusGate(StatusGate* gate) { statusGate_ = gate; }
  void FeedNextCharacter();

  // The CQ call: bank A's first message through the macro expander.
  void SendCq();

  unsigned LastSpeedValue() const { return lastSpeedValue_; }

  // Text from a network client: shown and queued the way a function-key message is, with
  // its speed changes kept in place between the characters.
  void QueueNetworkText(const NetworkText& text);
  // A network client's speed, within 5..50; the speed box follows.
  void SetNetworkSpeed(unsigned wpm);
  // A network client's abort: the stop action, and a CQ repeat ends.
  void AbortSending() { EndCqRepeat(); }
  // Nothing queued is left and the interface has keyed what it was given.
  bool QueuedTextKeyed() const;

 private:
  // Every change to the send state comes through here, so a rest ends before the change.
  WindowFields& Fields() {
    if (statusGate_ != nullptr) statusGate_->Wake();
    return view_.Fields();
  }
  bool Sequential() { return Fields().SendMode == kSequentialMode; }
  bool KeyerTimesCharacters() const { return keyer_.FirmwareVersion() >= 20; }

  void RunKeyCommand(const KeyDecision& decision);
  void StartNewContact();
  void StepSpeed(int step);
  void ReconnectIfClosed();
  void LimitLogLength();
  void AppendTimeStamp();
  void LogLine(const std::string& shown);
  void HandOver(const std::string& text);
  void Pace(int bufferState);
  void MoveFirstInputCharacterToLog();
  // PendingText and the speed changes placed in it.
  void DropQueuedText() {
    Fields().PendingText.clear();
    Fields().TrailByteNext = false;
    Fields().PendingSpeedMarks.clear();
  }
  void QueuePiece(const TextPiece& piece, std::string& shown);
  void QueueHeldPiece(const TextPiece& piece);
  void ReleaseHeldText();
  void EraseLastQueued(std::string& shown);
  void ApplyWpm(int wpm);
  void ApplyDueSpeedMarks();
  void ShiftSpeedMarks(std::size_t handedOver);

  void StartCqRepeat(int count);
  void EndCqRepeat();
  void KillCqTimer();
  void StartCqTimer();
  void RepeatStep();
  void OnTextDone();
  void OnKeyerInput(std::intptr_t value);
  void OnSpeedReport(unsigned halfDot, bool shorter);
  void ApplyStepSpeed();
  void ResetSpeed();
  void ShowDecoded(std::intptr_t index, std::intptr_t lParam);

  OperatingView& view_;
  KeyerPort& keyer_;
  settings::Settings& settings_;
  LocalTimeClock clock_;
  unsigned lastSpeedValue_ = 0;
  StatusGate* statusGate_ = nullptr;
  int lastBufferState_ = 15;
  // Older firmware: text handed to the engine has not been played to its end yet.
  bool textPlaying_ = false;
};

}  // namespace vantrel::operating
