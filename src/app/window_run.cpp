#include "app/window_run.h"

#include "platform/linux/single_instance.h"
#include "platform/qt/activation_channel.h"
#include "ui/main_dlg.h"

namespace vantrel::app {
namespace {

constexpr char kInstanceName[] = "MyApp";

QString ActivationSocket(const std::filesystem::path& instanceDir) {
  return QString::fromStdString((instanceDir / (std::string(kInstanceName) + ".socket")).string());
}

void BringToFront(QWidget& window) {
  if (window.isMinimized()) window.showNormal();
  window.raise();
  window.activateWindow();
}

}  // namespace

int RunOperatingWindow(const WindowRun& run) {
  auto instance = platform::SingleInstance::Acquire(run.instanceDir, kInstanceName);
  QString socket = ActivationSocket(run.instanceDir);
  if (!instance) {
    platform::ActivationListener::RequestActivation(socket);
    return 0;
  }
  platform::ActivationListener listener(socket);
  std::unique_ptr<Machine> machine = run.makeMachine();
  if (!machine) return 1;
  ui::CMainDlg window(ui::MainDlgServices{*machine->bus, machine->timers, *machine->tone,
                                          run.workingDir, run.titleNote, ui::ShowLogMessageBox,
                                          run.netKeyerPort, &machine->realtime},
                      std::move(instance));
  QObject::connect(&listener, &platform::ActivationListener::ActivationRequested, &window,
                   [&window] { BringToFront(window); });
  window.exec();
  return 0;
}

}  // namespace vantrel::app
