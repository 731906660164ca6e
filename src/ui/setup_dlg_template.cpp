#include "ui/setup_dlg_template.h"

#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

#include "platform/text_encoding.h"
#include "settings/settings.h"
#include "ui/setup_dlg_ids.h"

namespace vantrel::ui {
namespace {

using K = ControlKind;

constexpr int kSideToneListHeight = 59;

const char* MessageLabel(int number) {
  static const char* const kLabels[] = {"Fn 0&1", "Fn 0&2", "Fn 0&3", "Fn 0&4", "Fn 0&5",
                                        "Fn 0&6", "Fn 0&7", "Fn 0&8", "Fn 0&9", "Fn 1&0"};
  return kLabels[number - 1];
}

std::vector<ControlSpec> Controls() {
  std::vector<ControlSpec> t = {
      {0, K::kGroupBox, "メッセージメモリ", 7, 7, 111, 161},
      {0, K::kLabel, "バンク", 35, 20, 19, 8},
      {kIdBankA, K::kRadio, "&A", 58, 19, 21, 10},
      {kIdBankB, K::kRadio, "&B", 79, 19, 21, 10},
  };
  for (int n = 1; n <= 10; ++n) {
    int row = 13 * (n - 1);
    t.push_back({0, K::kLabel, MessageLabel(n), 14, 36 + row, 18, 8, MessageEditId(n)});
    t.push_back({MessageEditId(n), K::kCp932Edit, "", 34, 33 + row, 78, 12});
  }
  const ControlSpec rest[] = {
      {0, K::kLabel, "コールサイン(&M)", 9, 175, 48, 8, kIdMyCall},
      {kIdMyCall, K::kCp932Edit, "", 59, 173, 46, 12},
      {0, K::kLabel, "&PTTディレイ", 9, 192, 36, 8, kIdPttdBefore},
      {0, K::kLabel, "前", 49, 192, 8, 8},
      {kIdPttdBefore, K::kCp932Edit, "", 57, 190, 19, 12},
      {0, K::kLabel, "後", 79, 192, 8, 8},
      {kIdPttdAfter, K::kCp932Edit, "", 87, 190, 19, 12},
      {0, K::kLabel, "ms", 107, 193, 10, 8},
      {0, K::kGroupBox, "ウェイト (スペースx1 : ?)", 127, 7, 81, 65},
      {0, K::kLabel, "ドット(&D)", 139, 19, 24, 8, kIdWeightDot},
      {kIdWeightDot, K::kCp932Edit, "", 175, 17, 19, 12},
      {0, K::kLabel, "ダッシュ(&H)", 139, 32, 34, 8, kIdWeightDash},
      {kIdWeightDash, K::kCp932Edit, "", 175, 30, 19, 12},
      {0, K::kLabel, "文字間(&C)", 139, 45, 31, 8, kIdIntervalChar},
      {kIdIntervalChar, K::kCp932Edit, "", 175, 43, 19, 12},
      {0, K::kLabel, "単語間(&W)", 139, 58, 31, 8, kIdIntervalWord},
      {kIdIntervalWord, K::kCp932Edit, "", 175, 56, 19, 12},
      {0, K::kGroupBox, "ナンバ", 127, 74, 81, 36},
      {0, K::kLabel, "初期値(&N)", 134, 85, 31, 8, kIdNumber},
      {kIdNumber, K::kCp932Edit, "", 165, 82, 27, 12},
      {kIdAuto, K::kCheckBox, "ナンバ自動増加(&U)", 134, 96, 71, 10},
      {0, K::kLabel, "C&Q間隔", 125, 116, 24, 8, kIdCqLoopInterval},
      {kIdCqLoopInterval, K::kCp932Edit, "", 153, 114, 19, 12},
      {0, K::kLabel, "s", 173, 117, 8, 8},
      {kIdPaddleRvs, K::kCheckBox, "パドルリバース(&R)", 125, 128, 69, 10},
      {kIdPttCtrl, K::kCheckBox, "P&TT制御", 125, 140, 42, 10},
      {kIdSideTone, K::kCheckBox, "サイドトーン(&S)", 125, 152, 59, 10},
      {0, K::kLabel, "H&z", 204, 141, 8, 8, kIdSideToneFreqIf},
      {kIdSideToneFreqIf, K::kDropList, "", 184, 151, 28, 12},
      {kIdSideToneFreq, K::kCp932Edit, "", 184, 138, 19, 12},
      {kIdLogTime, K::kCheckBox, "時間記録(&L)", 125, 164, 51, 10},
      {kIdAlwaysOnTop, K::kCheckBox, "常に手前へ表示(&A)", 125, 176, 73, 10},
      {kIdOk, K::kDefaultButton, "OK", 125, 191, 41, 14},
      {kIdCancel, K::kButton, "ｷｬﾝｾﾙ", 167, 191, 41, 14},
      {0, K::kGroupBox, "ネットワークキーヤー (cwdaemon)", 7, 208, 201, 24},
      {kIdNetKeyerEnabled, K::kCheckBox, "有効(&K)", 14, 219, 36, 10},
      {0, K::kLabel, "アドレス(&I)", 54, 220, 32, 8, kIdNetKeyerAddress},
      {kIdNetKeyerAddress, K::kCp932Edit, "", 88, 218, 54, 12},
      {0, K::kLabel, "ポート(&O)", 146, 220, 28, 8, kIdNetKeyerPort},
      {kIdNetKeyerPort, K::kCp932Edit, "", 176, 218, 26, 12},
      {0, K::kGroupBox, "ログソフト連携 (F11/F12)", 7, 234, 201, 40},
      {0, K::kLabel, "ソフト(&G)", 14, 247, 26, 8, kIdLogProgram},
      {kIdLogProgram, K::kDropList, "", 42, 245, 100, 12},
      {0, K::kLabel, "ポート(&J)", 146, 247, 28, 8, kIdLogPort},
      {kIdLogPort, K::kCp932Edit, "", 176, 245, 26, 12},
      {0, K::kLabel, "Wine(&E)", 14, 260, 24, 8, kIdWineCommand},
      {kIdWineCommand, K::kLineEdit, "", 42, 258, 36, 12},
      {0, K::kLabel, "プレフィックス(&X)", 82, 260, 50, 8, kIdWinePrefix},
      {kIdWinePrefix, K::kLineEdit, "", 134, 258, 68, 12},
  };
  t.insert(t.end(), std::begin(rest), std::end(rest));
  return t;
}

// The interface sidetone frequencies, in a list only wide enough for four digits next to a
// narrow arrow.
void FillSideToneList(QComboBox* list, const QDialog* dialog) {
  const DialogUnits units = DialogUnitsFor(dialog->font());
  list->setStyleSheet(
      QStringLiteral("QComboBox { padding-left: 2px; padding-right: 0px; } QComboBox::drop-down { "
                     "width: 11px; }"));
  for (std::string_view text : settings::SideToneFreqList) {
    list->addItem(QString::fromStdString(platform::Cp932ToUtf8(text)));
  }
  int itemHeight = QFontMetrics(dialog->font()).height();
  list->setMaxVisibleItems(std::max(1, units.Y(kSideToneListHeight) / itemHeight));
}

}  // namespace

const DialogTemplate& SetupDialogTemplate() {
  static const DialogTemplate dialogTemplate{.width = 219,
                                             .height = 278,
                                             .controls = Controls(),
                                             .focusedButtonIsDefault = false,
                                             .choicesGrowToFit = true,
                                             .mnemonicsOnlyFocus = false,
                                             .textLimit = kSetupTextLimit};
  return dialogTemplate;
}

SetupDialogLayout BuildSetupDialog(QDialog* dialog) {
  dialog->setWindowTitle(QStringLiteral("Vantrel Setup"));
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
  dialog->setModal(true);
  SetupDialogLayout layout{BuildDialog(dialog, SetupDialogTemplate())};
  auto* list = static_cast<QComboBox*>(layout.controls.at(kIdSideToneFreqIf));
  FillSideToneList(list, dialog);
  auto* programs = static_cast<QComboBox*>(layout.controls.at(kIdLogProgram));
  for (const char* name : kLogProgramNames) programs->addItem(QString::fromUtf8(name));
  for (QLabel* label : dialog->findChildren<QLabel*>()) {
    if (label->buddy() == list) layout.hzLabel = label;
  }
  return layout;
}

}  // namespace vantrel::ui
