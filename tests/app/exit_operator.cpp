// The program itself with an operator at the keyboard, for the exit tests: runs Vantrel with
// the options that follow the scene's name, acts the scene on the window, and prints "ready"
// once the interface shows its state (its event log says so) or the setup dialog is open.
// A scene ending in "+quit" then asks the application to quit, as the session manager does at
// the end of the desktop session.
//   exit_operator keying|ptt|setup[+quit] --simulate=V --simulate-log=FILE
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/main_app.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace {

using vantrel::ui::CMainDlg;

std::string logFile;

bool LogHas(const std::string& line) {
  std::ifstream in(logFile);
  return std::string(std::istreambuf_iterator<char>(in), {}).find(line) != std::string::npos;
}

CMainDlg* Window() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<CMainDlg*>(widget);
    if (window != nullptr && window->isVisible()) return window;
  }
  return nullptr;
}

bool Type(QWidget* control, const char* text) {
  QTest::mouseClick(control, Qt::LeftButton);
  QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(control, text);
  return true;
}

// Each step waits until it can act and then says it is done.
using Step = std::function<bool(CMainDlg&)>;

std::vector<Step> Scene(const std::string& scene) {
  using namespace vantrel::ui;
  std::vector<Step> steps = {[](CMainDlg& w) { return Type(w.Control(kIdSpeed), "5"); }};
  if (scene == "keying") {
    steps.push_back([](CMainDlg& w) { return Type(w.Control(kIdInput), "tttt"); });
    // Now and then the simulated interface at 23 takes the first code without keying it and
    // reports idle, and the pacing rule stops the text; typing on gets the keying going.
    steps.push_back([polls = 0](CMainDlg& w) mutable {
      if (LogHas(" KEY 1\n")) return true;
      if (++polls % 50 == 0) QTest::keyClick(w.Control(kIdInput), 't');
      return false;
    });
  } else {
    steps.push_back([](CMainDlg& w) {
      QTest::mouseClick(w.Control(kIdPtt), Qt::LeftButton);
      return true;
    });
    steps.push_back([](CMainDlg&) { return LogHas(" PTT 1\n"); });
  }
  if (scene.starts_with("setup")) {
    // The dialog runs modally inside the click, so the click must not run inside a step.
    steps.push_back([](CMainDlg& w) {
      QTimer::singleShot(0, &w, [&w] { QTest::mouseClick(w.Control(kIdSetup), Qt::LeftButton); });
      return true;
    });
    steps.push_back([](CMainDlg&) {
      QWidget* modal = QApplication::activeModalWidget();
      return modal != nullptr && qobject_cast<CMainDlg*>(modal) == nullptr;
    });
  }
  steps.push_back([quit = scene.ends_with("+quit")](CMainDlg&) {
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    if (quit) QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
    return true;
  });
  return steps;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string scene = argv[1];
  std::vector<char*> programArgs{argv[0]};
  for (int i = 2; i < argc; ++i) {
    programArgs.push_back(argv[i]);
    if (std::string arg = argv[i]; arg.starts_with("--simulate-log=")) logFile = arg.substr(15);
  }
  int programArgc = static_cast<int>(programArgs.size());
  vantrel::app::CMainApp app(programArgc, programArgs.data());
  std::vector<Step> steps = Scene(scene);
  std::size_t next = 0;
  QTimer stepper;
  QObject::connect(&stepper, &QTimer::timeout, [&] {
    CMainDlg* window = Window();
    while (window != nullptr && next < steps.size() && steps[next](*window)) ++next;
  });
  stepper.start(10);
  return app.InitInstance();
}
