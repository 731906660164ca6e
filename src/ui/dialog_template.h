#pragma once

#include <cstddef>
#include <map>
#include <vector>

class QDialog;
class QFont;
class QWidget;

namespace vantrel::ui {

enum class ControlKind {
  kLineEdit,
  kDigitsEdit,
  kCp932Edit,  // holds at most the template's text limit in CP932 bytes
  kUpDown,     // its buddy is the edit it steps
  kLog,
  kLabel,  // its buddy is the control its mnemonic focuses
  kGroupBox,
  kRadio,
  kCheckBox,
  kDropList,
  kToggle,
  kButton,
  kDefaultButton,
  kLeftAlignedButton,
  kNarrowButton
};

// One control of a dialog template; the rectangle is in dialog units.
struct ControlSpec {
  int id;  // 0 for static controls
  ControlKind kind;
  const char* caption;  // UTF-8, '&' marks the mnemonic
  int x, y, width, height;
  int buddy = 0;
};

struct DialogTemplate {
  int width, height;
  std::vector<ControlSpec> controls;  // in template order, which is also the tab order
  // Whether Enter presses the focused push button rather than always the default one.
  bool focusedButtonIsDefault;
  // Whether check boxes and radio buttons, like labels, grow to fit a caption the font makes
  // wider than its rectangle.
  bool choicesGrowToFit;
  // Whether a label's mnemonic only moves the focus to its buddy, never clicking a button.
  bool mnemonicsOnlyFocus;
  std::size_t textLimit = 0;  // for kCp932Edit
};

// The windows' 9-point proportional Japanese Gothic, or the nearest installed.
QFont DialogFont();

// Pixels per dialog unit come from the dialog font, as a dialog template would scale.
struct DialogUnits {
  int baseX;
  int baseY;
  int X(int units) const { return (units * baseX + 2) / 4; }
  int Y(int units) const { return (units * baseY + 4) / 8; }
};
DialogUnits DialogUnitsFor(const QFont& font);

// Gives `dialog` the dialog font and the template's fixed size, and creates its controls in
// template order, placed and sized from the template. Returns the controls by id.
std::map<int, QWidget*> BuildDialog(QDialog* dialog, const DialogTemplate& dialogTemplate);

}  // namespace vantrel::ui
