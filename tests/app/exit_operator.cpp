// The program itself with an operator at the keyboard, for the exit tests: runs Vantrel with
// the options that follow the scene's name, acts the scene on the window, and prints "ready"
// once the interface shows its state (its event log says so) or the setup dialog is open.
// A scene ending in "+quit" then asks the application to quit, as the session manager does at
// the end of the desktop session.
//   exit_operator keying|ptt|setup[+quit] --simulate=V --simulate-log=FILE
#include <QApplication>
#include <QLineEdit>
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

void Type(QWidget* control, const std::string& text) {
  QTest::mouseClick(control, Qt::LeftButton);
  QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
  for (char c : text) QTest::keyClick(control, c);
}

// Each step waits until it can act and then says it is done.
using Step = std::function<bool(CMainDlg&)>;

bool Act(const std::function<void(CMainDlg&)>& action, CMainDlg& window) {
  action(window);
  return true;
}

std::vector<Step> Scene(const std::string& scene) {
  const bool quit = scene.ends_with("+quit");
  const std::string name = scene.substr(0, scene.find('+'));
  std::vector<Step> steps;
  auto act = [&steps](std::function<void(CMainDlg&)> action) {
    steps.push_back([action](CMainDlg& window) { return Act(action, window); });
  };
  auto await = [&steps](std::function<bool()> condition) {
    steps.push_back([condition](CMainDlg&) { return condition(); });
  };
  act([](CMainDlg& w) { Type(w.Control(vantrel::ui::kIdSpeed), "5"); });
  if (name == "keying") {
    act([](CMainDlg& w) { Type(w.Control(vantrel::ui::kIdInput), "tttt"); });
    // Now and then the simulated interface at 23 takes the first code without keying it and
    // reports idle, and the pacing rule stops the text; typing on gets the keying going.
    steps.push_back([polls = 0](CMainDlg& w) mutable {
      if (LogHas(" KEY 1\n")) return true;
      if (++polls % 50 == 0) QTest::keyClick(w.Control(vantrel::ui::kIdInput), 't');
      return false;
    });
  } else {
    act([](CMainDlg& w) { QTest::mouseClick(w.Control(vantrel::ui::kIdPtt), Qt::LeftButton); });
    await([] { return LogHas(" PTT 1\n"); });
  }
  if (name == "setup") {
    // The dialog runs modally inside the click, so the click must not run inside a step.
    act([](CMainDlg& w) {
      QTimer::singleShot(
          0, &w, [&w] { QTest::mouseClick(w.Control(vantrel::ui::kIdSetup), Qt::LeftButton); });
    });
    await([] {
      QWidget* modal = QApplication::activeModalWidget();
      return modal != nullptr && qobject_cast<CMainDlg*>(modal) == nullptr;
    });
  }
  act([](CMainDlg&) {
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
  });
  if (quit) {
    act([](CMainDlg& w) {
      QTimer::singleShot(0, &w, [] {
        QEvent quitEvent(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quitEvent);
      });
    });
  }
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
