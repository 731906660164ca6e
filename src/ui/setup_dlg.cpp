#include "ui/setup_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

#include "keyer/firmware_profile.h"
#include "ui/dialog_exchange.h"
#include "ui/setup_dlg_ids.h"
#include "ui/setup_dlg_template.h"

namespace vantrel::ui {
namespace {

// The longest written IPv6 address.
constexpr std::size_t kAddressLimit = 45;

}  // namespace

CSetupDlg::CSetupDlg(QWidget* parent) : QDialog(parent) {
  BuildControls();
  connect(bankA_, &QRadioButton::clicked, this, &CSetupDlg::OnBankA);
  connect(bankB_, &QRadioButton::clicked, this, &CSetupDlg::OnBankB);
  connect(logProgramList_, &QComboBox::currentIndexChanged, this, &CSetupDlg::EnableLogLinkFields);
  connect(static_cast<QAbstractButton*>(Control(kIdOk)), &QAbstractButton::clicked, this,
          &CSetupDlg::accept);
  connect(static_cast<QAbstractButton*>(Control(kIdCancel)), &QAbstractButton::clicked, this,
          &CSetupDlg::reject);
}

void CSetupDlg::BuildControls() {
  SetupDialogLayout layout = BuildSetupDialog(this);
  controls_ = layout.controls;
  hzLabel_ = layout.hzLabel;
  bankA_ = static_cast<QRadioButton*>(Control(kIdBankA));
  bankB_ = static_cast<QRadioButton*>(Control(kIdBankB));
  sideToneList_ = static_cast<QComboBox*>(Control(kIdSideToneFreqIf));
  logProgramList_ = static_cast<QComboBox*>(Control(kIdLogProgram));
}

QWidget* CSetupDlg::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QLineEdit* CSetupDlg::Edit(int id) const {
  return static_cast<QLineEdit*>(Control(id));
}

bool CSetupDlg::Checked(int id) const {
  return static_cast<QAbstractButton*>(Control(id))->isChecked();
}

void CSetupDlg::SetChecked(int id, bool checked) {
  static_cast<QAbstractButton*>(Control(id))->setChecked(checked);
}

void CSetupDlg::setVisible(bool visible) {
  if (visible && !isVisible()) OnInitDialog();
  QDialog::setVisible(visible);
}

void CSetupDlg::OnInitDialog() {
  RefreshControls();
  bankBShown_ = false;
  {
    QSignalBlocker blockA(bankA_);
    QSignalBlocker blockB(bankB_);
    bankA_->setChecked(true);
  }
  WorkBankA = FnMsgA;
  WorkBankB = FnMsgB;
  MessageFields = WorkBankA;
  RefreshControls();
  const bool interfaceTone =
      keyer::ProfileFor(static_cast<unsigned>(std::max(KnownFirmwareVersion, 0)))
          .interfaceToneChoice;
  sideToneList_->setEnabled(interfaceTone);
  Control(kIdSideToneFreq)->setEnabled(!interfaceTone);
  hzLabel_->setBuddy(interfaceTone ? sideToneList_ : Control(kIdSideToneFreq));
  bankA_->setFocus(Qt::OtherFocusReason);
}

void CSetupDlg::OnBankA() {
  if (bankBShown_) SwitchBank(false);
}

void CSetupDlg::OnBankB() {
  if (!bankBShown_) SwitchBank(true);
}

// A failed read has shown its message; the switch goes on with what was read.
void CSetupDlg::SwitchBank(bool showB) {
  bankBShown_ = showB;
  SetChecked(showB ? kIdBankB : kIdBankA, true);
  ReadControls();
  (showB ? WorkBankA : WorkBankB) = MessageFields;
  MessageFields = showB ? WorkBankB : WorkBankA;
  RefreshControls();
}

void CSetupDlg::accept() {
  if (!ReadControls()) return;
  (bankBShown_ ? WorkBankB : WorkBankA) = MessageFields;
  FnMsgA = WorkBankA;
  FnMsgB = WorkBankB;
  int selected = sideToneList_->currentIndex();
  SideToneFreqIfIndex = selected < 0 ? settings::kDefaultSideToneFreqIfIndex : selected;
  QDialog::accept();
}

bool CSetupDlg::ReadControls() {
  return ReadMessagesAndTexts() && ReadNumbers() && ReadSideTone() && ReadLogLink();
}

bool CSetupDlg::ReadMessagesAndTexts() {
  DialogExchange exchange(this);
  PTTCtrl = Checked(kIdPttCtrl);
  PaddleRvs = Checked(kIdPaddleRvs);
  if (!exchange.ReadText(Edit(kIdNumber), Number, kSetupTextLimit)) return false;
  Auto = Checked(kIdAuto);
  if (!exchange.ReadText(Edit(kIdMyCall), MyCALL, kSetupTextLimit)) return false;
  for (int n = 1; n <= settings::kMessageCount; ++n) {
    if (!exchange.ReadText(Edit(MessageEditId(n)), MessageFields[n - 1], kSetupTextLimit)) {
      return false;
    }
  }
  return true;
}

bool CSetupDlg::ReadNumbers() {
  DialogExchange exchange(this);
  return exchange.ReadDecimal(Edit(kIdCqLoopInterval), CqLoopInterval,
                              settings::kCqLoopIntervalRange) &&
         exchange.ReadWhole(Edit(kIdPttdAfter), PttdAfter, settings::kPttdAfterRange) &&
         exchange.ReadWhole(Edit(kIdPttdBefore), PttdBefore, settings::kPttdBeforeRange) &&
         exchange.ReadDecimal(Edit(kIdWeightDash), WeightDash, settings::kWeightRange) &&
         exchange.ReadDecimal(Edit(kIdWeightDot), WeightDot, settings::kWeightRange) &&
         exchange.ReadDecimal(Edit(kIdIntervalChar), IntervalChar, settings::kIntervalCharRange) &&
         exchange.ReadDecimal(Edit(kIdIntervalWord), IntervalWord, settings::kIntervalWordRange);
}

bool CSetupDlg::ReadSideTone() {
  LogTime = Checked(kIdLogTime);
  SideTone = Checked(kIdSideTone);
  int selected = sideToneList_->currentIndex();
  SideToneFreqIf = selected < 0 ? std::string_view() : settings::SideToneFreqList[selected];
  DialogExchange exchange(this);
  if (!exchange.ReadWhole(Edit(kIdSideToneFreq), SideToneFreq, settings::kSideToneFreqRange))
    return false;
  AlwaysOnTop = Checked(kIdAlwaysOnTop);
  NetKeyerEnabled = Checked(kIdNetKeyerEnabled);
  return exchange.ReadWhole(Edit(kIdNetKeyerPort), NetKeyerPort, settings::kNetKeyerPortRange) &&
         exchange.ReadText(Edit(kIdNetKeyerAddress), NetKeyerAddress, kAddressLimit);
}

void CSetupDlg::RefreshControls() {
  std::vector<QSignalBlocker> blockers;
  blockers.reserve(controls_.size());
  for (auto& [id, control] : controls_) blockers.emplace_back(control);
  SetChecked(kIdPttCtrl, PTTCtrl);
  SetChecked(kIdPaddleRvs, PaddleRvs);
  DialogExchange::ShowText(Edit(kIdNumber), Number);
  SetChecked(kIdAuto, Auto);
  DialogExchange::ShowText(Edit(kIdMyCall), MyCALL);
  for (int n = 1; n <= settings::kMessageCount; ++n) {
    DialogExchange::ShowText(Edit(MessageEditId(n)), MessageFields[n - 1]);
  }
  DialogExchange::ShowDecimal(Edit(kIdCqLoopInterval), CqLoopInterval);
  DialogExchange::ShowWhole(Edit(kIdPttdAfter), PttdAfter);
  DialogExchange::ShowWhole(Edit(kIdPttdBefore), PttdBefore);
  DialogExchange::ShowDecimal(Edit(kIdWeightDash), WeightDash);
  DialogExchange::ShowDecimal(Edit(kIdWeightDot), WeightDot);
  DialogExchange::ShowDecimal(Edit(kIdIntervalChar), IntervalChar);
  DialogExchange::ShowDecimal(Edit(kIdIntervalWord), IntervalWord);
  SetChecked(kIdLogTime, LogTime);
  SetChecked(kIdSideTone, SideTone);
  SelectSideToneFreqIf();
  DialogExchange::ShowWhole(Edit(kIdSideToneFreq), SideToneFreq);
  SetChecked(kIdAlwaysOnTop, AlwaysOnTop);
  SetChecked(kIdNetKeyerEnabled, NetKeyerEnabled);
  DialogExchange::ShowText(Edit(kIdNetKeyerAddress), NetKeyerAddress);
  DialogExchange::ShowWhole(Edit(kIdNetKeyerPort), NetKeyerPort);
  ShowLogLink();
}

// Paths and commands are the file system's UTF-8, not CP932. An empty port is the logging
// program's own default.
bool CSetupDlg::ReadLogLink() {
  LogLink.program = static_cast<loglink::LogProgram>(std::max(0, logProgramList_->currentIndex()));
  LogLink.wineCommand = Edit(kIdWineCommand)->text().trimmed().toStdString();
  if (LogLink.wineCommand.empty()) LogLink.wineCommand = loglink::LogLinkSettings{}.wineCommand;
  LogLink.winePrefix = Edit(kIdWinePrefix)->text().trimmed().toStdString();
  if (Edit(kIdLogPort)->text().trimmed().isEmpty()) {
    LogLink.port = 0;
    return true;
  }
  return DialogExchange(this).ReadWhole(Edit(kIdLogPort), LogLink.port,
                                        settings::kLogLinkPortRange);
}

void CSetupDlg::ShowLogLink() {
  logProgramList_->setCurrentIndex(static_cast<int>(LogLink.program));
  Edit(kIdWineCommand)->setText(QString::fromStdString(LogLink.wineCommand));
  Edit(kIdWinePrefix)->setText(QString::fromStdString(LogLink.winePrefix));
  Edit(kIdLogPort)->setText(LogLink.port == 0 ? QString() : QString::number(LogLink.port));
  EnableLogLinkFields();
}

// The Wine fields belong to Turbo HAMLOG; the port to the Linux loggers.
void CSetupDlg::EnableLogLinkFields() {
  const bool wine = logProgramList_->currentIndex() <= 0;
  Control(kIdWineCommand)->setEnabled(wine);
  Control(kIdWinePrefix)->setEnabled(wine);
  Control(kIdLogPort)->setEnabled(!wine);
}

void CSetupDlg::SelectSideToneFreqIf() {
  int found = -1;
  for (std::size_t i = 0; i < settings::SideToneFreqList.size() && found < 0; ++i) {
    if (settings::SideToneFreqList[i].starts_with(SideToneFreqIf)) found = static_cast<int>(i);
  }
  sideToneList_->setCurrentIndex(found);
}

}  // namespace vantrel::ui
