#pragma once

#include <ctime>
#include <string>

#include "keyer/keyer_messages.h"
#include "operating/fake_keyer.h"
#include "operating/fake_window.h"
#include "operating/operating_logic.h"
#include "settings/settings.h"

namespace vantrel::operating {

inline constexpr int kIdle = 15;
inline constexpr int kSending = 1;

inline settings::Settings RigSettings() {
  settings::Settings s;
  s.FnMsgA = settings::kDefaultBankA;
  s.FnMsgB = {"B1 $C", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9", "B10"};
  s.MyCALL = "JA1ZZZ";
  return s;
}

// The operating logic against a recording window and engine, with the clock at 12:34:56.
struct OperatingRig {
  OperatingRig() {
    time.tm_hour = 12;
    time.tm_min = 34;
    time.tm_sec = 56;
    logic.ApplySettings();
    logic.ShowBank(Bank::A);
    keyer.TakeCalls();
    window.settingsLoaded = 0;
    keyer.keyingSettingsGiven = 0;
  }

  // The logic's own state, written by tests that start from the middle of a session.
  SendState& State() { return const_cast<SendState&>(logic.State()); }

  void SetSendMode(int mode) {
    window.controls.sendMode = mode;
    window.fields.SendMode = mode;
  }

  // Each character as typed, passed to the focused control unless consumed.
  void Type(const std::string& text, Modifiers modifiers = {}) {
    for (char c : text) {
      const TypedCharacter result = logic.OnCharacter(std::string(1, c), modifiers);
      if (!result.consumed) window.Insert(result.character);
    }
  }

  bool Press(Key key, Modifiers modifiers = {}) { return logic.OnKeyDown(key, modifiers); }

  void Status(int bufferState, int times = 1) {
    for (int i = 0; i < times; ++i) logic.OnKeyerMessage(WM_KEYER_STATUS, bufferState, 0);
  }

  // Status reports as an interface gives them: busy while text is queued, then idle until the
  // hand-over of the last character is three reports old.
  void SendQueued() {
    while (!State().PendingText.empty()) Status(kSending);
    Status(kIdle, 3);
  }

  settings::Settings settings = RigSettings();
  FakeKeyer keyer;
  FakeWindow window;
  std::tm time{};
  OperatingLogic logic{window, keyer, settings, [this] { return time; }};
};

}  // namespace vantrel::operating
