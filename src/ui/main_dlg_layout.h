#pragma once

#include <map>

class QDialog;
class QWidget;

namespace vantrel::ui {

// Creates the operating window's controls on `dialog` in template order, placed and sized
// from the template, and sizes the dialog. Returns the controls by id.
std::map<int, QWidget*> BuildMainDialog(QDialog* dialog);

}  // namespace vantrel::ui
