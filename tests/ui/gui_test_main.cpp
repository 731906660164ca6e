// GoogleTest entry for widget tests: the widgets need a QApplication for the whole run, and
// the logging-program link keeps its sockets in a private folder of this run.
#include <QApplication>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "settings/temp_dir.h"

int main(int argc, char** argv) {
  vantrel::settings::TempDir runtimeDir;
  setenv("XDG_RUNTIME_DIR", runtimeDir.path().c_str(), 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
