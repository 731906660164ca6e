#include "sim_window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "platform/linux/single_instance.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::bench {

void UseOffscreenUnlessSet() {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

SimWindow::SimWindow(sim::SimBus& bus, platform::TimerService& timers,
                     const std::string& settingsFile, std::optional<unsigned> netKeyerPort,
                     const std::string& profileFile, platform::RealtimeRequest* realtime)
    : previousDir_(std::filesystem::current_path()) {
  dir_.Write("Vantrel.cfg", settingsFile);
  if (!profileFile.empty()) dir_.Write("Vantrel.ini", profileFile);
  // The engine finds its code table relative to the working directory.
  std::filesystem::current_path(dir_.path());
  window_ = std::make_unique<ui::CMainDlg>(ui::MainDlgServices{.bus = bus,
                                                               .timers = timers,
                                                               .tone = tone_,
                                                               .workingDir = dir_.path(),
                                                               .netKeyerPort = netKeyerPort,
                                                               .realtime = realtime},
                                           platform::SingleInstance::Acquire(dir_.path(), "MyApp"));
  window_->show();
  window_->activateWindow();
  if (!QTest::qWaitForWindowActive(window_.get())) {
    std::fprintf(stderr, "the window did not become active; typed keys may go nowhere\n");
  }
  InputLine()->setFocus();
}

SimWindow::~SimWindow() {
  window_.reset();
  std::filesystem::current_path(previousDir_);
}

QLineEdit* SimWindow::InputLine() const {
  return static_cast<QLineEdit*>(window_->Control(ui::kIdInput));
}

bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  check.start(10);
  QTimer::singleShot(limit, &loop, &QEventLoop::quit);
  loop.exec();
  return done();
}

}  // namespace vantrel::bench
