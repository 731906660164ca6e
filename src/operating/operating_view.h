#pragma once

#include <string>

#include "operating/window_fields.h"

namespace vantrel::operating {

// The controls the operating logic moves the focus between or empties.
enum class Control { InputLine, CallsignBox, ReportBox, SpeedBox, Log, Other };

// The operating window as the operating logic acts on it. Texts are CP932 bytes.
class OperatingView {
 public:
  virtual ~OperatingView() = default;

  virtual WindowFields& Fields() = 0;
  // Copies the controls into the fields; false when a value fails validation.
  virtual bool ReadControls() = 0;
  // Copies the fields into the controls without raising change handlers.
  virtual void RefreshControls() = 0;

  virtual std::string InputLineText() const = 0;
  // Sets the input line with the caret at its end, scrolled to it.
  virtual void SetInputLineText(const std::string& text) = 0;
  virtual void EmptyControl(Control control) = 0;
  virtual Control FocusedControl() const = 0;
  virtual void SetFocus(Control control) = 0;
  // Selects the whole log and scrolls it to the caret, which shows its end.
  virtual void ShowLogEnd() = 0;
  // Puts the caret at the end of the log control, scrolls there and inserts `text`.
  virtual void InsertAtLogEnd(const std::string& text) = 0;

  // Function buttons by their number, 1..12.
  virtual std::string ButtonCaption(int key) const = 0;
  virtual void SetButtonCaption(int key, const std::string& text) = 0;
  virtual void SetButtonToolTip(int key, const std::string& text) = 0;

  // Rewrites the speed box; its change handler then applies the speed to the engine.
  virtual void SetSpinPosition(unsigned wpm) = 0;

  // The one-shot CQ repeat timer (window timer 0); firing ends in OperatingLogic::OnCqTimer.
  virtual void StartCqTimer(unsigned milliseconds) = 0;
  virtual void KillCqTimer() = 0;

  // Reads the settings file and gives the engine every setting; also sets CqRepeatCount to 0.
  virtual void ApplySettings() = 0;

  // The logging-program link behind F11 and F12.
  virtual void SendToLog() = 0;
  virtual void FetchFromLog() = 0;
};

}  // namespace vantrel::operating
