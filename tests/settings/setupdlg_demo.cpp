// Opens the setup dialog on its own. Options: --firmware N sets the identified interface's
// firmware version (0: none), --bank-b shows bank B, --screenshot FILE saves the dialog as an
// image and quits instead of waiting for the operator.
#include <QApplication>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

#include "settings/settings_file.h"
#include "ui/setup_dlg.h"
#include "ui/setup_dlg_ids.h"

using vantrel::ui::CSetupDlg;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  CSetupDlg dialog;
  vantrel::settings::LoadSettings(dialog);
  QString screenshot;
  bool bank_b = false;
  QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--firmware" && i + 1 < args.size()) {
      dialog.KnownFirmwareVersion = args[++i].toInt();
    } else if (args[i] == "--screenshot" && i + 1 < args.size()) {
      screenshot = args[++i];
    } else if (args[i] == "--bank-b") {
      bank_b = true;
    }
  }
  if (screenshot.isEmpty()) {
    int result = dialog.exec();
    std::printf("%s\n", result == QDialog::Accepted ? "OK" : "Cancel");
    return 0;
  }
  dialog.show();
  if (bank_b) static_cast<QRadioButton*>(dialog.Control(vantrel::ui::kIdBankB))->click();
  QTimer::singleShot(300, [&] {
    bool saved = dialog.grab().save(screenshot);
    app.exit(saved ? 0 : 1);
  });
  return app.exec();
}
