#pragma once

#include <cstddef>
#include <map>

class QDialog;
class QFont;
class QLabel;
class QWidget;

namespace vantrel::settings {

struct SetupDialogLayout {
  std::map<int, QWidget*> controls;  // by control id
  QLabel* hz_label = nullptr;        // mnemonic label of the two frequency controls
};

// Pixels per dialog unit come from the dialog font, as a dialog template would scale.
struct DialogUnits {
  int base_x;
  int base_y;
  int X(int units) const { return (units * base_x + 2) / 4; }
  int Y(int units) const { return (units * base_y + 4) / 8; }
};
DialogUnits DialogUnitsFor(const QFont& font);

// Creates the setup dialog's controls on `dialog` in template order, placed and sized from
// the template; text edits hold at most `text_limit` CP932 bytes.
SetupDialogLayout BuildSetupDialog(QDialog* dialog, std::size_t text_limit);

}  // namespace vantrel::settings
