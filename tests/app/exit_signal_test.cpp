#include <QProcess>

#include <gtest/gtest.h>
#include <signal.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace vantrel::app {
namespace {

// A guard against a child that hangs, not a measure of anything.
constexpr int kGuardMs = 20000;

settings::Settings Configured(int wpm) {
  settings::Settings settings;
  settings.PTTCtrl = true;
  settings.WPM = wpm;
  return settings;
}

QString PathText(const settings::TempDir& dir, const char* name = "") {
  return QString::fromStdString((dir.path() / name).string());
}

// Starts the operator on `scene`; true once it says it is ready.
bool StartOperator(QProcess& child, const char* scene, unsigned version,
                   const settings::TempDir& work, const settings::TempDir& instances) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_RUNTIME_DIR", PathText(instances));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  child.setProcessEnvironment(environment);
  child.setWorkingDirectory(PathText(work));
  child.start(VANTREL_EXIT_OPERATOR, {scene, "--simulate=" + QString::number(version),
                                      "--simulate-log=" + PathText(work, "sim.log")});
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
TEST(ExitOnSignal, ReleasesKeyAndPttSendsTheClosingCommandsLastAndSavesBothFiles) {
  struct Case {
    unsigned version;
    const char* scene;
    std::vector<int> kills;
  };
  const Case cases[] = {
      {10, "keying", {SIGTERM}}, {23, "keying", {SIGHUP}},           {23, "ptt", {SIGINT}},
      {10, "setup", {SIGHUP}},   {10, "keying", {SIGTERM, SIGTERM}}, {10, "setup+quit", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scene) + " at firmware " + std::to_string(c.version) + ", " +
                 std::to_string(c.kills.size()) + " signals");
    settings::TempDir work;
    settings::TempDir instances;
    work.Write(settings::kSettingsFileName, settings::FormatSettings(Configured(20)));
    QProcess child;
    const bool ready = StartOperator(child, c.scene, c.version, work, instances);
    for (int s : c.kills) kill(static_cast<pid_t>(child.processId()), s);
    if (!child.waitForFinished(kGuardMs)) child.kill();
    child.waitForFinished();
    const std::string log = work.Read("sim.log");
    ASSERT_TRUE(ready) << log;

    const std::vector<std::string> keys = Lines(log, "KEY");
    const std::vector<std::string> ptts = Lines(log, "PTT");
    if (!keys.empty()) {
      EXPECT_EQ(keys.back(), "KEY 0") << log;
    }
    ASSERT_FALSE(ptts.empty()) << log;
    EXPECT_EQ(ptts.back(), "PTT 0") << log;
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
    if (c.kills.size() > 1) {
      EXPECT_TRUE(child.exitCode() == 0 || child.exitCode() == 128 + c.kills[1]);
      continue;
    }
    EXPECT_EQ(child.exitCode(), 0);
    const std::vector<std::string> commands = Lines(log, "OUT");
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2], "OUT 00 01 0F 0F 0F 0F 0F 0F 0F");
    EXPECT_EQ(commands.back(), "OUT 00 02 0F 0F 0F 0F 0F 0F 0F");
    EXPECT_EQ(work.Read(settings::kSettingsFileName), settings::FormatSettings(Configured(5)));
    EXPECT_TRUE(std::regex_search(
        work.Read("Vantrel.ini"),
        std::regex(R"(\[Window\]\r?\nSize=-?\d+,-?\d+,-?\d+,-?\d+\r?\nTop=0\r?\n)")))
        << work.Read("Vantrel.ini");
  }
}

}  // namespace
}  // namespace vantrel::app
