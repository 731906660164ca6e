// GoogleTest entry for widget tests: the widgets need a QApplication for the whole run, and
// the logging-program link keeps its sockets in a private folder of this run.
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>
#include <stdlib.h>

#include <utility>

#include "support/temp_dir.h"

int main(int argc, char** argv) {
  // Test discovery runs this without the test environment; the tests never need a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vantrel::settings::TempDir runtimeDir;
  setenv("XDG_RUNTIME_DIR", runtimeDir.path().c_str(), 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  // A modal window that no test closes would hold the run until CTest's timeout: one still open
  // at two looks ten seconds apart fails the running test, with its text, and is closed.
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [] {
    static QPointer<QWidget> seen;
    QWidget* modal = std::exchange(seen, QApplication::activeModalWidget());
    if (!modal || modal != seen) return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    ADD_FAILURE() << "a modal window stayed open: "
                  << (box ? box->text() : modal->windowTitle()).toStdString();
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
  });
  watchdog.start(10000);
  return RUN_ALL_TESTS();
}
