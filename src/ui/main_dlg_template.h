#pragma once

#include <map>

#include "ui/dialog_template.h"

namespace vantrel::ui {

// The operating window's template.
const DialogTemplate& MainDialogTemplate();

// Creates the operating window's controls on `dialog` from its template and sizes the dialog.
// Returns the controls by id.
std::map<int, QWidget*> BuildMainDialog(QDialog* dialog);

}  // namespace vantrel::ui
