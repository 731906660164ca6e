#pragma once

#include <QApplication>

#include <memory>

#include "app/exit_on_request.h"
#include "platform/linux/exit_signals.h"

namespace vantrel::app {

// The application object: fixes where the profile file lives (the working directory), runs
// the operating window and ends when it has closed.
class CMainApp final : public QApplication {
  Q_OBJECT

 public:
  CMainApp(int& argc, char** argv);

  // The whole start-up; the result is the process's exit code.
  int InitInstance();

 protected:
  // The desktop session's end may arrive as a quit request; it leaves through the exit.
  bool event(QEvent* event) override;

 private:
  platform::ExitSignals exitSignals_;
  ExitOnRequest exitOnRequest_{exitSignals_};
};

}  // namespace vantrel::app
