#include "operating/operating_logic.h"

#include <array>
#include <utility>

#include "keyer/firmware_profile.h"
#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"
#include "operating/macro_expander.h"

namespace vantrel::operating {
namespace {

// The log control holds at most this many characters; a send that finds it longer starts a
// fresh log.
constexpr std::size_t kLogLimit = 32767;

// The interface input that starts a CQ repeat; any other value ends one.
constexpr std::intptr_t kCqStartInput = 13;

enum class KeyCommand {
  None,
  ShowBankB,
  StopAndEndCq,
  FocusInputLine,
  FocusCallsign,
  NewContact,
  EmptyFocusedBox,
  SpeedUp,
  SpeedDown,
  StartCq,
  StartEndlessCq,
  FunctionKey,
  SendToLog,
  FetchFromLog,
};

struct KeyDecision {
  KeyCommand command = KeyCommand::None;
  // Consumed keys never reach the focused control.
  bool consumed = false;
  // 1..10 for KeyCommand::FunctionKey.
  int functionKey = 0;
};

constexpr KeyDecision Consume(KeyCommand command) {
  return {command, true, 0};
}
constexpr KeyDecision PassOn(KeyCommand command = KeyCommand::None) {
  return {command, false, 0};
}

bool InInputLine(Control focus) {
  return focus == Control::InputLine;
}
bool InEditBox(Control focus) {
  return focus == Control::InputLine || focus == Control::CallsignBox;
}

KeyDecision DecideFunctionKey(Key key, Modifiers modifiers) {
  if (modifiers.alt || modifiers.shift) return PassOn();
  return {KeyCommand::FunctionKey, true, static_cast<int>(key) - static_cast<int>(Key::F1) + 1};
}

KeyDecision DecideCtrlKey(Key key, Control focus) {
  switch (key) {
    case Key::K:
      return InEditBox(focus) ? Consume(KeyCommand::NewContact) : PassOn();
    case Key::W:
      return InEditBox(focus) ? Consume(KeyCommand::EmptyFocusedBox) : PassOn();
    case Key::Q:
      return InInputLine(focus) ? Consume(KeyCommand::SpeedUp) : PassOn();
    case Key::S:
      return InInputLine(focus) ? Consume(KeyCommand::SpeedDown) : PassOn();
    default:
      return PassOn();
  }
}

// What a key-down does, by the key, the modifiers of the event and the focused control.
KeyDecision DecideKeyDown(Key key, Modifiers modifiers, Control focus) {
  if (key >= Key::F1 && key <= Key::F10) return DecideFunctionKey(key, modifiers);
  switch (key) {
    case Key::Control:
      return PassOn(KeyCommand::ShowBankB);
    case Key::Escape:
      return Consume(InInputLine(focus) ? KeyCommand::StopAndEndCq : KeyCommand::FocusInputLine);
    case Key::A:
      return modifiers.alt ? Consume(KeyCommand::FocusCallsign) : PassOn();
    case Key::Z:
      if (!modifiers.ctrl || !InInputLine(focus)) return PassOn();
      return Consume(modifiers.alt ? KeyCommand::StartEndlessCq : KeyCommand::StartCq);
    case Key::F11:
      return PassOn(KeyCommand::SendToLog);
    case Key::F12:
      return PassOn(KeyCommand::FetchFromLog);
    default:
      return modifiers.ctrl ? DecideCtrlKey(key, focus) : PassOn();
  }
}

// A typed letter is upper case unless Shift is held, whatever Caps Lock says; other
// characters are left as they are.
std::string ApplyShiftCase(std::string character, bool shift) {
  if (character.size() != 1) return character;
  char& c = character.front();
  if (!shift && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (shift && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return character;
}

}  // namespace

void OperatingContext::Wake() {
  if (gate != nullptr) gate->Wake();
}

WindowFields& OperatingContext::Fields() {
  Wake();
  return view.Fields();
}

bool OperatingContext::Sequential() {
  return Fields().SendMode == kSequentialMode;
}

bool OperatingContext::KeyerTimesCharacters() const {
  return keyer::ProfileFor(keyer.FirmwareVersion()).TakesCodes();
}

std::tm CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string TimeStamp(const std::tm& time) {
  std::array<char, 32> buffer{};
  const std::size_t length = std::strftime(buffer.data(), buffer.size(), "%H:%M:%S> ", &time);
  return std::string(buffer.data(), length);
}

OperatingLogic::OperatingLogic(OperatingView& view, KeyerPort& keyer, settings::Settings& settings,
                               LocalTimeClock clock)
    : context_{view, keyer, settings}, view_(view), settings_(settings), clock_(std::move(clock)) {}

void OperatingLogic::ApplySettings() {
  WindowFields& fields = view_.Fields();
  if (!speed_.Live()) {
    view_.LoadSettingsFile();
    fields.WPM = static_cast<unsigned>(settings_.WPM);
  }
  speed_.GoLive();
  view_.RefreshControls();
  cqRepeat_.End();
  context_.keyer.SetSpeed(fields.WPM);
  context_.keyer.SetKeyingSettings(settings_);
  const unsigned firmware = context_.keyer.FirmwareVersion();
  if (keyer::ProfileFor(firmware).decodeCheck) view_.EnableDecodeCheck();
  settings_.KnownFirmwareVersion = static_cast<int>(firmware);
}

// StopSending's release command makes an open attempt, and the re-apply then gives a
// returned interface every setting.
void OperatingLogic::ReconnectIfClosed() {
  if (context_.keyer.FirmwareVersion() != 0) return;
  StopTransmission();
  ApplySettings();
}

bool OperatingLogic::OnKeyDown(Key key, Modifiers modifiers) {
  const KeyDecision decision = DecideKeyDown(key, modifiers, view_.FocusedControl());
  switch (decision.command) {
    case KeyCommand::None:
      break;
    case KeyCommand::ShowBankB:
      ShowBank(Bank::B);
      break;
    case KeyCommand::StopAndEndCq:
      EndCqRepeat();
      break;
    case KeyCommand::FocusInputLine:
      view_.SetFocus(Control::InputLine);
      break;
    case KeyCommand::FocusCallsign:
      view_.SetFocus(Control::CallsignBox);
      break;
    case KeyCommand::NewContact:
      StartNewContact();
      break;
    case KeyCommand::EmptyFocusedBox:
      view_.EmptyControl(view_.FocusedControl());
      break;
    case KeyCommand::SpeedUp:
      speed_.Step(+1);
      break;
    case KeyCommand::SpeedDown:
      speed_.Step(-1);
      break;
    case KeyCommand::StartCq:
      StartCqRepeat(kCqRepeatCalls);
      break;
    case KeyCommand::StartEndlessCq:
      StartCqRepeat(kEndlessCqRepeat);
      break;
    case KeyCommand::FunctionKey:
      OnFunctionButton(decision.functionKey);
      break;
    case KeyCommand::SendToLog:
      view_.SendToLog();
      break;
    case KeyCommand::FetchFromLog:
      view_.FetchFromLog();
      break;
  }
  return decision.consumed;
}

void OperatingLogic::OnKeyUp(Key key) {
  if (key == Key::Control) ShowBank(Bank::A);
}

void OperatingLogic::StartNewContact() {
  view_.EmptyControl(Control::InputLine);
  context_.Fields().HisCall.clear();
  context_.Fields().Report = 599;
  view_.SetFocus(Control::InputLine);
  view_.RefreshControls();
}

TypedCharacter OperatingLogic::OnCharacter(std::string character, Modifiers modifiers) {
  ReconnectIfClosed();
  context_.Wake();
  if (cqRepeat_.Active()) {
    EndCqRepeat();
    return {true, {}};
  }
  character = ApplyShiftCase(std::move(character), modifiers.shift);
  view_.ReadControls();
  const bool sendsAsTyped = context_.Sequential() && view_.FocusedControl() == Control::InputLine;
  if (sendsAsTyped && (modifiers.alt || modifiers.ctrl)) {
    // The input line shows what is being sent, and a letter typed with Alt or Ctrl never is;
    // control bytes (Ctrl+V and the other editing keys) go on to the line edit.
    if (!character.empty() && static_cast<unsigned char>(character.front()) >= 0x20)
      return {true, {}};
    return {false, character};
  }
  if (sendsAsTyped) pacer_.HandOver(character);
  return {false, character};
}

void OperatingLogic::OnExit() {
  context_.keyer.StopSending();
  pacer_.Drop();
}

void OperatingLogic::LimitLogLength() {
  if (view_.LogText().size() > kLogLimit) view_.EmptyControl(Control::Log);
}

void OperatingLogic::AppendTimeStamp() {
  if (settings_.LogTime) view_.InsertAtLogEnd(TimeStamp(clock_()));
}

void OperatingLogic::LogLine(const std::string& shown) {
  view_.InsertAtLogEnd(shown + "\r\n");
  view_.RefreshControls();
  view_.ShowLogEnd();
}

// Queued text is shown where it is sent from: the input line, or the log in block mode.
void OperatingLogic::ShowQueued(const std::string& shown) {
  AppendTimeStamp();
  if (context_.Sequential()) {
    view_.SetInputLineText(view_.InputLineText() + shown);
  } else {
    LogLine(shown);
  }
}

void OperatingLogic::OnSendButton() {
  LimitLogLength();
  const std::string text = view_.InputLineText();
  if (text.empty()) return;
  cqRepeat_.KillTimer();
  view_.ReadControls();
  if (!context_.Sequential()) {
    SendWithMacros(text + " ");
    view_.SetInputLineText({});
    return;
  }
  // The characters went out as they were typed; only the log is written here.
  AppendTimeStamp();
  LogLine(WithoutProsignMarks(text));
  view_.SetInputLineText({});
}

void OperatingLogic::HoldPtt(bool on) {
  context_.Fields().PttCheck = on ? 1 : 0;
  context_.keyer.SetPttHold(on);
}

void OperatingLogic::StopTransmission() {
  cqRepeat_.KillTimer();
  view_.ReadControls();
  HoldPtt(false);
  view_.RefreshControls();
  context_.keyer.StopSending();
  pacer_.Stop();
  view_.SetFocus(Control::InputLine);
  if (context_.Sequential()) view_.SetInputLineText({});
  view_.ShowLogEnd();
}

void OperatingLogic::OnClearButton() {
  pacer_.Drop();
  view_.EmptyControl(Control::Log);
}

void OperatingLogic::QueueNetworkText(const NetworkText& text) {
  ReconnectIfClosed();
  context_.Wake();
  if (cqRepeat_.Active()) EndCqRepeat();
  view_.ReadControls();
  std::string shown;
  pacer_.Queue(text, shown);
  if (!shown.empty()) ShowQueued(shown);
}

// Bank A's first message from the settings, not F1's caption: Ctrl held still calls CQ.
void OperatingLogic::SendCq() {
  const std::string& call = settings_.FnMsgA[0];
  if (!call.empty()) SendWithMacros(call);
}

void OperatingLogic::StartCqRepeat(int count) {
  context_.keyer.StopSending();
  pacer_.Drop();
  cqRepeat_.Start(count);
  SendCq();
}

// The key or interface input that ends a repeat is used up by it.
void OperatingLogic::EndCqRepeat() {
  StopTransmission();
  cqRepeat_.End();
}

void OperatingLogic::OnCqTimer() {
  cqRepeat_.KillTimer();
  SendCq();
}

void OperatingLogic::OnKeyerMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case WM_KEYER_DECODED:
      return ShowDecoded(wParam, lParam);
    case WM_KEYER_TEXT_DONE:
      return OnTextDone();
    case WM_KEYER_SPEED:
      return speed_.OnReport(static_cast<unsigned>(wParam), lParam == 1);
    case WM_KEYER_STATUS:
      return pacer_.OnStatus(static_cast<int>(wParam));
    case WM_KEYER_PADDLE:
      return view_.SetInputLineText({});
    case WM_KEYER_INPUT:
      return OnKeyerInput(wParam);
    case WM_KEYER_SPEED_UP:
      return speed_.OnSwitch(+1);
    case WM_KEYER_SPEED_DOWN:
      return speed_.OnSwitch(-1);
    case WM_KEYER_SPEED_RESET:
      return speed_.Reset();
    default:
      return;
  }
}

void OperatingLogic::OnTextDone() {
  pacer_.OnTextDone();
  context_.Wake();
  if (cqRepeat_.Count() != 0) cqRepeat_.StartTimer();
  if (!context_.Sequential()) return;
  const std::string input = view_.InputLineText();
  if (input.empty()) return;
  view_.InsertAtLogEnd(input);
  view_.SetInputLineText({});
}

void OperatingLogic::OnKeyerInput(std::intptr_t value) {
  context_.Wake();
  if (value == kCqStartInput) {
    if (!cqRepeat_.Active()) StartCqRepeat(kCqRepeatCalls);
    return;
  }
  cqRepeat_.End();
  cqRepeat_.KillTimer();
  pacer_.Drop();
}

void OperatingLogic::ShowDecoded(std::intptr_t index, std::intptr_t lParam) {
  if (((lParam >> 16) & 0xFFFF) != 0) return;
  if (index < 0 || static_cast<std::size_t>(index) >= keyer::kCharacterCount) return;
  view_.SetFocus(Control::Log);
  view_.InsertAtLogEnd(std::string(1, static_cast<char>(keyer::kCharacterList[index])));
}

}  // namespace vantrel::operating
