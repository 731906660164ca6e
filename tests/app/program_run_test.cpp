// `--operator SCENE VERSION` runs Vantrel in this test's child process on a simulated interface
// logging to sim.log, acts the scene on the window and prints "ready" once the interface or the
// setup dialog shows it; "+quit" then quits the application as the end of the session does.
// In the scene "paddle" the interface's paddle is held from the start (paddle.txt), so the engine
// keys dots on its timer thread and the reader carries them; it is ready once a dot is keyed.
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/main_app.h"
#include "platform/linux/realtime_threads.h"
#include "settings/dialog_driver.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::app {
namespace {

using namespace ui;

bool LogHas(const std::string& line) {
  std::ifstream in("sim.log");
  return std::string(std::istreambuf_iterator<char>(in), {}).find(line) != std::string::npos;
}

CMainDlg* Window() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<CMainDlg*>(widget);
    if (window != nullptr && window->isVisible()) return window;
  }
  return nullptr;
}

bool Type(CMainDlg& window, int id, const char* text) {
  TypeOver(static_cast<QLineEdit*>(window.Control(id)), text);
  return true;
}

// Each step waits until it can act and then says it is done.
using Step = std::function<bool(CMainDlg&)>;

std::vector<Step> Scene(const std::string& scene) {
  std::vector<Step> steps = {[](CMainDlg& w) { return Type(w, kIdSpeed, "5"); }};
  if (scene == "paddle") {
    steps = {[](CMainDlg&) { return LogHas(" KEY 1\n") && LogHas(" KEY 0\n"); }};
  } else if (scene == "keying") {
    steps.push_back([](CMainDlg& w) { return Type(w, kIdInput, "tttt"); });
    // Now and then the simulated interface at 23 takes the first code without keying it and
    // reports idle, and the pacing rule stops the text; typing on gets the keying going.
    steps.push_back([polls = 0](CMainDlg& w) mutable {
      if (LogHas(" KEY 1\n")) return true;
      if (++polls % 50 == 0) QTest::keyClick(w.Control(kIdInput), 't');
      return false;
    });
  } else {
    steps.push_back(
        [](CMainDlg& w) { return QTest::mouseClick(w.Control(kIdPtt), Qt::LeftButton), true; });
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

int RunOperator(char* program, const std::string& scene, const std::string& version) {
  std::vector<std::string> words = {program, "--simulate=" + version, "--simulate-log=sim.log"};
  if (scene == "config-home") words.push_back("--config-home");
  if (scene == "paddle") words.push_back("--simulate-script=paddle.txt");
  std::vector<char*> arguments;
  for (std::string& word : words) arguments.push_back(word.data());
  int count = static_cast<int>(arguments.size());
  CMainApp app(count, arguments.data());
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

// A guard against a child that hangs, not a measure of anything.
constexpr int kGuardMs = 20000;

// Starts the operator on `scene`; true once it says it is ready. There is no system bus, so
// RealtimeKit never answers; with `refuse` the child may not make threads real-time itself: no
// RLIMIT_RTPRIO, and CAP_SYS_NICE out of its bounding set, which takes it from root as well.
bool StartOperator(QProcess& child, const char* scene, unsigned version,
                   const settings::TempDir& work, bool refuse = false) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(work.path().string()));
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString((work.path() / "config").string()));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("VANTREL_DEBUG", "1");
  environment.insert("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent");
  // ThreadSanitizer symbolizes each race before it suppresses it (those inside the uninstrumented
  // Qt); the first ones keep the reader busy past its real-time run limit, whose signal rightly
  // demotes it. Module names are all the suppressions need.
  if (const QString tsan = environment.value("TSAN_OPTIONS"); !tsan.isEmpty()) {
    environment.insert("TSAN_OPTIONS", tsan + " symbolize=0");
  }
  child.setProcessEnvironment(environment);
  if (refuse) {
    child.setChildProcessModifier([] {
      const rlimit none{0, 0};
      setrlimit(RLIMIT_RTPRIO, &none);
      prctl(PR_CAPBSET_DROP, CAP_SYS_NICE, 0, 0, 0);
    });
  }
  child.setWorkingDirectory(QString::fromStdString(work.path().string()));
  child.start(QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").string()),
              {"--operator", scene, QString::number(version)});
  QByteArray seen;
  while (!seen.contains("ready\n") && child.waitForReadyRead(kGuardMs)) {
    seen += child.readAllStandardOutput();
  }
  return seen.contains("ready\n");
}

// The simulated interface's event log lines of one kind ("KEY 0", "OUT 00 02 ..."), in order.
std::vector<std::string> Lines(const std::string& text, const std::string& kind) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const std::string event = line.substr(line.find(' ') + 1);
    if (event.starts_with(kind + " ")) lines.push_back(event);
  }
  return lines;
}

// The program is keying, holding PTT or showing the setup dialog when a signal comes (or the
// session ends): key and PTT are released, the closing commands go last, both files are saved.
// Started as the desktop entry starts it, the files are in $XDG_CONFIG_HOME/vantrel, and none
// in the working directory.
TEST(ExitOnSignal, ReleasesKeyAndPttSendsTheClosingCommandsLastAndSavesBothFiles) {
  struct Case {
    unsigned version;
    const char* scene;
    int signal;
  };
  const Case cases[] = {{10, "keying", SIGTERM}, {23, "keying", SIGHUP},
                        {23, "ptt", SIGINT},     {10, "setup", SIGHUP},
                        {10, "setup+quit", 0},   {23, "config-home", SIGTERM}};
  settings::Settings saved;
  saved.PTTCtrl = true;
  saved.WPM = 5;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scene) + ", case " + std::to_string(&c - cases));
    settings::TempDir work;
    const bool configHome = c.scene == std::string("config-home");
    const std::string files = configHome ? "config/vantrel/" : "";
    std::filesystem::create_directories(work.path() / files);
    work.Write(files + settings::kSettingsFileName, "PTTCtrl TRUE\nWPM 20\n");
    work.Write(files + "Vantrel.ini", "[Window]\r\nTop=1\r\n");
    QProcess child;
    const bool ready = StartOperator(child, c.scene, c.version, work);
    if (c.signal != 0) kill(static_cast<pid_t>(child.processId()), c.signal);
    if (!child.waitForFinished(kGuardMs)) child.kill();
    child.waitForFinished();
    const std::string log = work.Read("sim.log");
    ASSERT_TRUE(ready) << log;

    const std::vector<std::string> keys = Lines(log, "KEY");
    const std::vector<std::string> ptts = Lines(log, "PTT");
    EXPECT_TRUE(keys.empty() || keys.back() == "KEY 0") << log;
    EXPECT_EQ(ptts.empty() ? "" : ptts.back(), "PTT 0") << log;
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    const std::vector<std::string> commands = Lines(log, "OUT");
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2], "OUT 00 01 0F 0F 0F 0F 0F 0F 0F");
    EXPECT_EQ(commands.back(), "OUT 00 02 0F 0F 0F 0F 0F 0F 0F");
    EXPECT_EQ(work.Read(files + settings::kSettingsFileName), settings::FormatSettings(saved));
    EXPECT_TRUE(std::regex_search(work.Read(files + "Vantrel.ini"),
                                  std::regex(R"(\[Window\]\r?\nTop=1\r?\nSize=-?\d+,)")))
        << work.Read(files + "Vantrel.ini");
    EXPECT_EQ(work.Read(configHome ? "Vantrel.ini" : "config/vantrel/Vantrel.ini"), "");
  }
}

// "name policy" of every thread of `pid` that is not ordinary, sorted.
std::vector<std::string> RealtimeThreadsOf(qint64 pid) {
  std::vector<std::string> threads;
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks)) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    const int policy = sched_getscheduler(std::stoi(task.path().filename().string()));
    if (policy > 0) threads.push_back(name + " " + std::to_string(policy & ~SCHED_RESET_ON_FORK));
  }
  std::sort(threads.begin(), threads.end());
  return threads;
}

// The timer and reader threads alone get SCHED_FIFO when the system permits it; a refusal
// leaves the keying working and says so in one diagnostic line.
TEST(Realtime, TheTimerAndReaderThreadsAloneGetSchedFifoOrOneLineSaysWhyNot) {
  std::string refusal;
  std::thread([&] { refusal = platform::SetFifo(gettid(), platform::kRealtimePriority); }).join();
  const std::string fifo = " " + std::to_string(SCHED_FIFO);
  for (const bool refuse : {false, true}) {
    if (!refuse && !refusal.empty()) continue;  // this process may not use real-time scheduling
    SCOPED_TRACE(refuse ? "refused" : "permitted");
    settings::TempDir work;
    work.Write("paddle.txt", "100 paddle dot\n");
    QProcess child;
    ASSERT_TRUE(StartOperator(child, "paddle", 10, work, refuse));
    child.setReadChannel(QProcess::StandardError);
    QByteArray errors = child.readAllStandardError();
    while (refuse && !errors.contains("real-time") && child.waitForReadyRead(kGuardMs)) {
      errors += child.readAllStandardError();
    }
    const std::vector<std::string> permitted = {"vantrel-reader" + fifo, "vantrel-timer" + fifo};
    EXPECT_EQ(RealtimeThreadsOf(child.processId()),
              refuse ? std::vector<std::string>{} : permitted);
    kill(static_cast<pid_t>(child.processId()), SIGTERM);
    EXPECT_TRUE(child.waitForFinished(kGuardMs));
    errors += child.readAllStandardError();
    EXPECT_EQ(errors.count("real-time scheduling not granted"), refuse ? 1 : 0) << errors.data();
  }
}

}  // namespace
}  // namespace vantrel::app

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--operator") {
    return vantrel::app::RunOperator(argv[0], argv[2], argv[3]);
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
