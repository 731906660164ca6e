#pragma once

#include <QApplication>

namespace vantrel::app {

// The application object: fixes where the profile file lives (the working directory), runs
// the operating window and ends when it has closed.
class CMainApp final : public QApplication {
  Q_OBJECT

 public:
  CMainApp(int& argc, char** argv);

  // The whole start-up; the result is the process's exit code.
  int InitInstance();
};

}  // namespace vantrel::app
