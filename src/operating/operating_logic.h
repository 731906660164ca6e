#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "operating/cq_repeat.h"
#include "operating/keyer_port.h"
#include "operating/network_text.h"
#include "operating/operating_context.h"
#include "operating/operating_view.h"
#include "operating/pacer.h"
#include "operating/speed.h"
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

// The keys the window intercepts; every other key is Other. F1..F12 are consecutive.
enum class Key {
  Control,
  Escape,
  A,
  K,
  W,
  Q,
  S,
  Z,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  Other
};

// Pressed or not, as the keyboard state that belongs to the event says.
struct Modifiers {
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
};

// A typed character after the window's handling: dropped when consumed, otherwise
// `character` (its case possibly changed) goes on to the focused control.
struct TypedCharacter {
  bool consumed = false;
  std::string character;
};

// The operator's work in the window, routed to the parts that own it: the speed, the CQ repeat
// and the pacer with the queued text. The logic itself keeps the hot keys, the function keys
// and macros, and the log. Everything runs on the window's thread. The view, the keyer and the
// settings must outlive this object.
class OperatingLogic {
 public:
  OperatingLogic(OperatingView& view, KeyerPort& keyer, settings::Settings& settings,
                 LocalTimeClock clock = CurrentLocalTime);

  const SendState& State() const { return pacer_.State(); }
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
  void OnSpeedBoxChanged() { speed_.OnBoxChanged(); }
  // The PTT hold, from the window's check box, a network client or the stop: the window's
  // check keeps it and the engine follows. The caller refreshes the controls.
  void HoldPtt(bool on);
  // The window closes: nothing more is keyed.
  void OnExit();

  // Message memories.
  void ShowBank(Bank bank);
  void SendFunctionKey(std::string text);
  void SendWithMacros(std::string text);

  // The engine's notifications (WM_KEYER_DECODED .. WM_KEYER_WORD_SPACE) and the CQ timer.
  void OnKeyerMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
  void OnCqTimer();

  // One hand-over of queued text, as a status report gives it.
  void FeedNextCharacter() { pacer_.FeedNextCharacter(); }
  // Told when the window can do without repeated status reports; the gate must outlive this.
  void SetStatusGate(StatusGate* gate) { context_.gate = gate; }

  // The CQ call: bank A's first message through the macro expander.
  void SendCq();

  // Text from a network client: shown and queued the way a function-key message is, with
  // its speed changes kept in place between the characters.
  void QueueNetworkText(const NetworkText& text);
  // A network client's speed, within 5..50; the speed box follows.
  void SetNetworkSpeed(unsigned wpm) { speed_.Apply(static_cast<int>(wpm)); }
  // A network client's abort: the stop action, and a CQ repeat ends.
  void AbortSending() { EndCqRepeat(); }
  // Nothing queued is left and the interface has keyed what it was given.
  bool QueuedTextKeyed() const { return pacer_.Keyed(); }

 private:
  void StartNewContact();
  void ReconnectIfClosed();
  void LimitLogLength();
  void AppendTimeStamp();
  void LogLine(const std::string& shown);
  void ShowQueued(const std::string& shown);
  void StartCqRepeat(int count);
  void EndCqRepeat();
  void OnTextDone();
  void OnKeyerInput(std::intptr_t value);
  void ShowDecoded(std::intptr_t index, std::intptr_t lParam);

  OperatingContext context_;
  OperatingView& view_;
  settings::Settings& settings_;
  LocalTimeClock clock_;
  Speed speed_{context_};
  CqRepeat cqRepeat_{context_};
  Pacer pacer_{context_, speed_, cqRepeat_, [this] { StopTransmission(); }};
};

}  // namespace vantrel::operating
