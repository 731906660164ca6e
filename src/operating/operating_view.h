#pragma once

#include <string>

namespace vantrel::operating {

// The values of the operating window's controls, exchanged in bulk. Text is CP932 bytes. The
// log is not among them: its control alone keeps its text, which the operator, the decoded
// paddle and the sending all add to, so that no exchange can put back an older copy.
struct WindowFields {
  // The keying speed: the speed box shows it, the engine is given it, and the settings take it
  // at exit.
  unsigned WPM = 20;
  // The PTT hold; the engine's follows it.
  int PttCheck = 0;
  std::string HisCall;
  int SendMode = 0;
  int Report = 599;
  int DecodeCheck = 0;
};

inline constexpr int kSequentialMode = 0;
inline constexpr int kBlockMode = 1;

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
  // Puts the log's caret at its end and scrolls there.
  virtual void ShowLogEnd() = 0;
  // Puts the caret at the end of the log control, scrolls there and inserts `text` ("\r\n"
  // line ends).
  virtual void InsertAtLogEnd(const std::string& text) = 0;
  // What the log control holds, with "\r\n" line ends.
  virtual std::string LogText() const = 0;

  // Function buttons by their number, 1..12.
  virtual std::string ButtonCaption(int key) const = 0;
  virtual void SetButtonCaption(int key, const std::string& text) = 0;
  virtual void SetButtonToolTip(int key, const std::string& text) = 0;

  // Shows `wpm`, held within 5..50, in the speed box without raising its change handler;
  // true when what the box shows changed.
  virtual bool SetSpinPosition(unsigned wpm) = 0;

  // The one-shot CQ repeat timer (window timer 0); firing ends in OperatingLogic::OnCqTimer.
  virtual void StartCqTimer(unsigned milliseconds) = 0;
  virtual void KillCqTimer() = 0;

  // Reads the settings file into the settings the logic was given.
  virtual void LoadSettingsFile() = 0;
  // The interface decodes the paddle, so the decode check can be used.
  virtual void EnableDecodeCheck() = 0;

  // The logging-program link behind F11 and F12.
  virtual void SendToLog() = 0;
  virtual void FetchFromLog() = 0;
};

}  // namespace vantrel::operating
