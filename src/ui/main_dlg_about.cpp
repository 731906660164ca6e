#include "ui/about_dlg.h"
#include "ui/about_text.h"
#include "ui/main_dlg.h"

namespace vantrel::ui {

void CMainDlg::ShowAbout() {
  CAboutDlg about;
  about.VersionText = QString::fromStdString(AboutVersionText(engine_->FirmwareVersion()));
  about.exec();
}

}  // namespace vantrel::ui
