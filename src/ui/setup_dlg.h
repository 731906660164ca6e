#pragma once

#include <QDialog>

#include <map>

#include "settings/settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vantrel::ui {

// The setup dialog. It is also the settings object: the operating window owns one for its
// whole life, reads and writes the settings fields directly, and shows it modally with exec()
// to let the operator edit them. Each showing starts afresh from the fields (bank A shown);
// OK commits the message banks and the interface sidetone, Cancel drops the message edits.
class CSetupDlg : public QDialog, public settings::Settings {
  Q_OBJECT

 public:
  explicit CSetupDlg(QWidget* parent = nullptr);

  // The control with the given id (setup_dlg_ids.h), or nullptr.
  QWidget* Control(int id) const;

  void setVisible(bool visible) override;
  void accept() override;

 private:
  void BuildControls();
  void OnInitDialog();
  void OnBankA();
  void OnBankB();
  void SwitchBank(bool showB);

  bool ReadControls();
  bool ReadMessagesAndTexts();
  bool ReadNumbers();
  bool ReadSideTone();
  bool ReadLogLink();
  void ShowLogLink();
  void EnableLogLinkFields();
  void RefreshControls();
  void SelectSideToneFreqIf();

  QLineEdit* Edit(int id) const;
  bool Checked(int id) const;
  void SetChecked(int id, bool checked);

  std::map<int, QWidget*> controls_;
  QRadioButton* bankA_ = nullptr;
  QRadioButton* bankB_ = nullptr;
  QComboBox* sideToneList_ = nullptr;
  QComboBox* logProgramList_ = nullptr;
  QLabel* hzLabel_ = nullptr;
  bool bankBShown_ = false;
};

}  // namespace vantrel::ui
