#include "operating/operating_logic.h"

#include <array>
#include <utility>

#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"
#include "operating/macro_expander.h"
#include "operating/speed.h"

namespace vantrel::operating {
namespace {

// The log control holds at most this many characters; a send that finds it longer starts a
// fresh log.
constexpr std::size_t kLogLimit = 32767;

}  // namespace

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
    : view_(view), keyer_(keyer), settings_(settings), clock_(std::move(clock)) {}

void OperatingLogic::ApplySettings() {
  WindowFields& fields = view_.Fields();
  if (!settingsApplied_) {
    view_.LoadSettingsFile();
    fields.WPM = static_cast<unsigned>(settings_.WPM);
  }
  settingsApplied_ = true;
  view_.RefreshControls();
  cqRepeat_.End();
  keyer_.SetSpeed(fields.WPM);
  keyer_.SetKeyingSettings(settings_);
  const unsigned firmware = keyer_.FirmwareVersion();
  if (keyer::ProfileFor(firmware).decodeCheck) view_.EnableDecodeCheck();
  settings_.KnownFirmwareVersion = static_cast<int>(firmware);
}

// StopSending's release command makes an open attempt, and the re-apply then gives a
// returned interface every setting.
void OperatingLogic::ReconnectIfClosed() {
  if (keyer_.FirmwareVersion() != 0) return;
  StopTransmission();
  ApplySettings();
}

void OperatingLogic::OnExit() {
  keyer_.StopSending();
  DropQueuedText();
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

void OperatingLogic::DropQueuedText() {
  SendState& send = WakeForSendState();
  send.PendingText.clear();
  send.TrailByteNext = false;
  send.PendingSpeedMarks.clear();
}

void OperatingLogic::OnSendButton() {
  LimitLogLength();
  const std::string text = view_.InputLineText();
  if (text.empty()) return;
  KillCqTimer();
  view_.ReadControls();
  if (!Sequential()) {
    SendWithMacros(text + " ");
    view_.SetInputLineText({});
    return;
  }
  // The characters went out as they were typed; only the log is written here.
  AppendTimeStamp();
  LogLine(WithoutProsignMarks(text));
  view_.SetInputLineText({});
}

void OperatingLogic::StopTransmission() {
  KillCqTimer();
  view_.ReadControls();
  Fields().PttCheck = 0;
  view_.RefreshControls();
  keyer_.SetPttHold(false);
  keyer_.StopSending();
  DropQueuedText();
  WakeForSendState().HeldNetworkText.clear();
  textPlaying_ = false;
  view_.SetFocus(Control::InputLine);
  if (Sequential()) view_.SetInputLineText({});
  view_.ShowLogEnd();
  WakeForPacer().Reset();
}

void OperatingLogic::OnClearButton() {
  DropQueuedText();
  view_.EmptyControl(Control::Log);
}

void OperatingLogic::OnKeyerMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case WM_KEYER_DECODED:
      return ShowDecoded(wParam, lParam);
    case WM_KEYER_TEXT_DONE:
      return OnTextDone();
    case WM_KEYER_SPEED:
      return OnSpeedReport(static_cast<unsigned>(wParam), lParam == 1);
    case WM_KEYER_STATUS:
      return OnStatus(static_cast<int>(wParam));
    case WM_KEYER_PADDLE:
      return view_.SetInputLineText({});
    case WM_KEYER_INPUT:
      return OnKeyerInput(wParam);
    case WM_KEYER_SPEED_UP:
      ++Fields().WPM;
      return ApplyStepSpeed();
    case WM_KEYER_SPEED_DOWN:
      --Fields().WPM;
      return ApplyStepSpeed();
    case WM_KEYER_SPEED_RESET:
      return ResetSpeed();
    default:
      return;
  }
}

void OperatingLogic::ShowDecoded(std::intptr_t index, std::intptr_t lParam) {
  if (((lParam >> 16) & 0xFFFF) != 0) return;
  if (index < 0 || static_cast<std::size_t>(index) >= keyer::kCharacterCount) return;
  view_.SetFocus(Control::Log);
  view_.InsertAtLogEnd(std::string(1, static_cast<char>(keyer::kCharacterList[index])));
}

}  // namespace vantrel::operating
