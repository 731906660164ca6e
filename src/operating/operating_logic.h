#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "keyer/firmware_profile.h"
#include "operating/cq_repeat.h"
#include "operating/key_handling.h"
#include "operating/keyer_port.h"
#include "operating/network_text.h"
#include "operating/operating_view.h"
#include "operating/pacer.h"
#include "operating/speed.h"
#include "operating/status_coalescer.h"
#include "settings/settings.h"

namespace vantrel::operating {

enum class Bank { A, B };

inline constexpr int kSendToLogKey = 11;
inline constexpr int kFetchFromLogKey = 12;
inline constexpr const char* kSendToLogCaption = ">THL";
inline constexpr const char* kFetchFromLogCaption = "<THL";

// Where the time stamps in the log come from; tests hand in a fixed time.
using LocalTimeClock = std::function<std::tm()>;
std::tm CurrentLocalTime();
// "%H:%M:%S> ", the stamp in front of a logged text.
std::string TimeStamp(const std::tm& time);

// Bytes of the first CP932 character of `text`: 2 for a lead byte followed by another byte,
// 1 otherwise, 0 for empty text. Keeps a double-byte character together when text is
// handed over or moved one character at a time.
std::size_t FirstCharacterLength(std::string_view text);

// A typed character after the window's handling: dropped when consumed, otherwise
// `character` (its case possibly changed) goes on to the focused control.
struct TypedCharacter {
  bool consumed = false;
  std::string character;
};

// What is queued for the interface.
struct SendState {
  std::string PendingText;
  // The front byte of PendingText is the trail byte of a double-byte character.
  bool TrailByteNext = false;
  // Speed changes a network client placed between characters of PendingText, in order.
  std::vector<SpeedMark> PendingSpeedMarks;
  // Older firmware: network text held back behind a speed change until the text before it
  // has been played.
  NetworkText HeldNetworkText;
};

// The operator's work in the window: typing in both send modes with the pacing of queued
// text, the hot keys, the function keys and macros, the engine's notifications and the CQ
// repeat. Everything runs on the window's thread. The view, the keyer and the settings must
// outlive this object.
class OperatingLogic {
 public:
  OperatingLogic(OperatingView& view, KeyerPort& keyer, settings::Settings& settings,
                 LocalTimeClock clock = CurrentLocalTime);

  const SendState& State() const { return send_; }
  const CqRepeat& CqRepeatState() const { return cqRepeat_; }

  // The settings file is read on the first call only: a later apply, made to reconnect a
  // returning interface, must not undo what the operator changed since, nor the live speed.
  // Gives the engine the speed and every keying setting.
  void ApplySettings();

  // Keyboard, before the focused control sees the event. Return whether it is consumed.
  bool OnKeyDown(Key key, Modifiers modifiers);
  void OnKeyUp(Key key);
  // One character as CP932 bytes; an input-method commit arrives one character at a time.
  TypedCharacter OnCharacter(std::string character, Modifiers modifiers);

  // Buttons and boxes.
  void OnSendButton();
  void StopTransmission();
  void OnClearButton();
  void OnFunctionButton(int key);
  // The operator changed the speed box.
  void OnSpeedBoxChanged();
  // The window closes: nothing more is keyed.
  void OnExit();

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

  unsigned LastSpeedValue() const { return speed_.LastReportValue(); }

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
  // Every change to the window's values, the send state, the pace or the CQ repeat comes
  // through one of these, which wake the status gate so that a rest ends before the change.
  WindowFields& Fields() {
    Wake();
    return view_.Fields();
  }
  SendState& WakeForSendState() {
    Wake();
    return send_;
  }
  Pacer& WakeForPacer() {
    Wake();
    return pacer_;
  }
  CqRepeat& WakeForCqRepeat() {
    Wake();
    return cqRepeat_;
  }
  void Wake() {
    if (statusGate_ != nullptr) statusGate_->Wake();
  }
  bool Sequential() { return Fields().SendMode == kSequentialMode; }
  bool KeyerTimesCharacters() const {
    return keyer::ProfileFor(keyer_.FirmwareVersion()).TakesCodes();
  }

  void RunKeyCommand(const KeyDecision& decision);
  void StartNewContact();
  void ReconnectIfClosed();
  void LimitLogLength();
  void AppendTimeStamp();
  void LogLine(const std::string& shown);
  void HandOver(const std::string& text);
  void Pace(int bufferState);
  void PassCharactersWithoutCode();
  void TakeFrontByte();
  void MoveFirstInputCharacterToLog();
  // PendingText and the speed changes placed in it.
  void DropQueuedText();
  void QueuePiece(const TextPiece& piece, std::string& shown);
  void QueueHeldPiece(const TextPiece& piece);
  void ReleaseHeldText();
  void EraseLastQueued(std::string& shown);

  void StepSpeed(int step);
  void ApplyWpm(int wpm);
  void ApplyDueSpeedMarks();
  void ShiftSpeedMarks(std::size_t handedOver);
  void OnSpeedReport(unsigned halfDot, bool shorter);
  void ApplyStepSpeed();
  void ResetSpeed();
  // Shows the speed; a change of what the box shows applies it as the operator's would.
  void ShowSpeed(unsigned wpm);

  void StartCqRepeat(int count);
  void EndCqRepeat();
  void KillCqTimer();
  void StartCqTimer();
  void RepeatStep();
  void OnTextDone();
  void OnKeyerInput(std::intptr_t value);
  void ShowDecoded(std::intptr_t index, std::intptr_t lParam);

  OperatingView& view_;
  KeyerPort& keyer_;
  settings::Settings& settings_;
  LocalTimeClock clock_;
  SendState send_;
  Pacer pacer_;
  CqRepeat cqRepeat_;
  bool settingsApplied_ = false;
  Speed speed_;
  StatusGate* statusGate_ = nullptr;
  // Older firmware: text handed to the engine has not been played to its end yet.
  bool textPlaying_ = false;
};

}  // namespace vantrel::operating
