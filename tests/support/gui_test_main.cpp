// GoogleTest entry for widget tests: the widgets need a QApplication for the whole run, and
// the logging-program link keeps its sockets in a private folder of this run.
#include <QApplication>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_dir.h"

// Qt's own worker threads share data through atomics that ThreadSanitizer cannot see in the
// uninstrumented Qt libraries; races reported wholly inside them are not ours.
extern "C" const char* __tsan_default_suppressions() {
  return "race:libQt6Core.so.6\nrace:libQt6Gui.so.6\n";
}

int main(int argc, char** argv) {
  // Test discovery runs this without the test environment; the tests never need a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vantrel::settings::TempDir runtimeDir;
  setenv("XDG_RUNTIME_DIR", runtimeDir.path().c_str(), 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
