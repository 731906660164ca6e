#include "ui/main_dlg_template.h"

#include <QDialog>

#include "ui/main_dlg_ids.h"

namespace vantrel::ui {
namespace {

using K = ControlKind;

constexpr int kFunctionX[10] = {7, 28, 49, 70, 93, 114, 135, 156, 179, 200};
constexpr const char* kFunctionLabels[10] = {"F&1", "F&2", "F&3", "F&4", "F&5",
                                             "F&6", "F&7", "F&8", "F&9", "F1&0"};

std::vector<ControlSpec> Build() {
  std::vector<ControlSpec> specs = {
      {kIdInput, K::kLineEdit, "", 7, 148, 137, 14},
      {kIdHisCall, K::kLineEdit, "", 145, 148, 37, 14},
      {kIdReport, K::kLineEdit, "", 182, 148, 22, 14},
      {0, K::kLabel, "&WPM", 245, 10, 15, 8, kIdSpeed},
      {kIdSpeed, K::kDigitsEdit, "", 215, 6, 18, 14},
      {kIdSpeedUpDown, K::kUpDown, "", 234, 6, 9, 14, kIdSpeed},
      {0, K::kGroupBox, "CW送信", 215, 23, 44, 37},
      {kIdSequential, K::kRadio, "逐次(&E)", 219, 34, 38, 10},
      {kIdBlock, K::kRadio, "一括(&B)", 219, 46, 39, 10},
      {kIdDecode, K::kToggle, "パドル復号(&D)", 212, 62, 47, 13},
      {kIdPtt, K::kToggle, "&PTT", 212, 76, 47, 13},
      {kIdSetup, K::kButton, "設定(&R)", 212, 91, 47, 13},
      {kIdExit, K::kButton, "終了(&X)", 212, 106, 47, 13},
      {kIdClear, K::kButton, "クリア(&C)", 212, 121, 47, 13},
      {kIdStop, K::kButton, "ストップ(&O)", 212, 136, 47, 13},
      {kIdSend, K::kDefaultButton, "送信(&S)", 212, 151, 47, 13},
  };
  for (int n = 0; n < 10; ++n) {
    specs.push_back(
        {0, K::kLabel, kFunctionLabels[n], kFunctionX[n], 169, 20, 8, FunctionButtonId(n + 1)});
  }
  for (int n = 0; n < 10; ++n) {
    specs.push_back(
        {FunctionButtonId(n + 1), K::kLeftAlignedButton, "", kFunctionX[n], 178, 20, 13});
  }
  specs.push_back({kIdLog, K::kLog, "", 7, 7, 197, 138});
  specs.push_back({0, K::kLabel, "F11", 221, 170, 20, 8});
  specs.push_back({0, K::kLabel, "F12", 242, 170, 20, 8});
  specs.push_back({kIdF11, K::kNarrowButton, "", 221, 178, 20, 13});
  specs.push_back({kIdF12, K::kNarrowButton, "", 242, 178, 20, 13});
  return specs;
}

}  // namespace

const DialogTemplate& MainDialogTemplate() {
  static const DialogTemplate dialogTemplate{.width = 267,
                                             .height = 203,
                                             .controls = Build(),
                                             .focusedButtonIsDefault = true,
                                             .choicesGrowToFit = false,
                                             .mnemonicsOnlyFocus = true};
  return dialogTemplate;
}

std::map<int, QWidget*> BuildMainDialog(QDialog* dialog) {
  return BuildDialog(dialog, MainDialogTemplate());
}

}  // namespace vantrel::ui
