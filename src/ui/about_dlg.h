#pragma once

#include <QDialog>

class QLabel;

namespace vantrel::ui {

// The about box: the program's name and rights, and the interface version text, which is
// shown in label 1056 when the box opens.
class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  QString VersionText;

  QLabel* VersionLabel() const { return version_; }
  void setVisible(bool visible) override;

 private:
  QLabel* version_;
};

}  // namespace vantrel::ui
