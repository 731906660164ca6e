#pragma once

#include <cstddef>
#include <map>

#include "ui/dialog_template.h"

class QDialog;
class QLabel;
class QWidget;

namespace vantrel::ui {

// The setup dialog's text edits hold at most this many CP932 bytes.
inline constexpr std::size_t kSetupTextLimit = 256;

// The logging programs in the list, in the order of loglink::LogProgram.
inline constexpr const char* kLogProgramNames[] = {"Turbo HAMLOG (Wine)",
                                                   "fldigi XML-RPC (tlf, CQRLOG)", "xlog"};

// The setup dialog's template.
const DialogTemplate& SetupDialogTemplate();

struct SetupDialogLayout {
  std::map<int, QWidget*> controls;  // by control id
  QLabel* hzLabel = nullptr;         // mnemonic label of the two frequency controls
};

// Makes `dialog` the modal, fixed-size "Vantrel Setup" dialog with its controls from the
// template and the interface sidetone frequencies in their list.
SetupDialogLayout BuildSetupDialog(QDialog* dialog);

}  // namespace vantrel::ui
