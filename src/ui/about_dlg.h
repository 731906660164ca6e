#pragma once

#include <QDialog>
#include <QIcon>

#include <string>

class QLabel;

namespace vantrel::ui {

// The program icon, from the resources; the about box and the operating window show it.
QIcon AppIcon();

// "Halvix Ver.%d" of the firmware version with a point before its last digit: 23 gives
// "Halvix Ver.2.3", 0 (no interface) "Halvix Ver..0".
std::string AboutVersionText(unsigned firmwareVersion);

// The about box: the program's name and rights, and the interface version text, which is
// shown in label 1056 when the box opens.
class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  void SetVersionText(const QString& text) { versionText_ = text; }
  void setVisible(bool visible) override;

 private:
  QString versionText_;
  QLabel* version_;
};

}  // namespace vantrel::ui
