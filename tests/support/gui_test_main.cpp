// GoogleTest entry for widget tests: the widgets need a QApplication for the whole run, and
// the logging-program link keeps its sockets in a private folder of this run.
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_dir.h"

// A modal window that no test closes would hold the run until CTest's timeout: after ten
// seconds it fails the test that opened it, with its text, and is closed; later ones in the
// same test are closed at once, so that a table of cases fails in seconds, not minutes.
static void WatchForStuckModals(QTimer& timer) {
  static QPointer<QWidget> seen;
  static int ticks = 0;
  static const testing::TestInfo* stuckIn = nullptr;
  QObject::connect(&timer, &QTimer::timeout, [] {
    QWidget* modal = QApplication::activeModalWidget();
    ticks = modal && modal == seen ? ticks + 1 : 0;
    seen = modal;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    if (!modal || ticks < (test == stuckIn ? 1 : 10)) return;
    stuckIn = test;
    auto* box = qobject_cast<QMessageBox*>(modal);
    ADD_FAILURE() << "a modal window stayed open: "
                  << (box ? box->text() : modal->windowTitle()).toStdString();
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
  });
  timer.start(1000);
}

int main(int argc, char** argv) {
  // Test discovery runs this without the test environment; the tests never need a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vantrel::settings::TempDir runtimeDir;
  setenv("XDG_RUNTIME_DIR", runtimeDir.path().c_str(), 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  QTimer watchdog;
  WatchForStuckModals(watchdog);
  return RUN_ALL_TESTS();
}
