#include "app/exit_on_request.h"

#include <QApplication>
#include <QDialog>

#include "ui/main_dlg.h"

namespace vantrel::app {
namespace {

constexpr unsigned kExitWatchdogSeconds = 2;
// More boxes than the program ever stacks; a box that refuses to close must not hang the exit.
constexpr int kMostModalBoxes = 8;

ui::CMainDlg* OperatingWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<ui::CMainDlg*>(widget);
    if (window != nullptr && window->isVisible()) return window;
  }
  return nullptr;
}

void CloseModalBoxes(const QWidget* keep) {
  for (int i = 0; i < kMostModalBoxes; ++i) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == keep) return;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  }
}

}  // namespace

ExitOnRequest::ExitOnRequest(platform::ExitSignals& exitSignals)
    : signals_(exitSignals), notifier_(exitSignals.ReadFd(), QSocketNotifier::Read) {
  connect(&notifier_, &QSocketNotifier::activated, this, [this] { Exit(1); });
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { Exit(0); });
}

void ExitOnRequest::Exit(int signalsTaken) {
  if (exiting_) return;
  exiting_ = true;
  notifier_.setEnabled(false);
  signals_.StartWatchdog(kExitWatchdogSeconds);
  ui::CMainDlg* window = OperatingWindow();
  // The transmitter is released before any modal box gets the chance to run a nested loop.
  if (window != nullptr) window->Logic().OnExit();
  signals_.AllowImmediateExit(signalsTaken);
  CloseModalBoxes(window);
  if (window != nullptr) window->ExitWindow();
}

}  // namespace vantrel::app
