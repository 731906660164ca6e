#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Starts the operator on `scene`; true once it says it is ready.
bool StartOperator(const char* scene, unsigned version, const settings::TempDir& work,
                   const settings::TempDir& instances, pid_t& child) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return false;
  const std::string versionOption = "--simulate=" + std::to_string(version);
  const std::string log = "--simulate-log=" + (work.path() / "sim.log").string();
  child = fork();
  if (child == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (chdir(work.path().c_str()) != 0) _exit(126);
    setenv("XDG_RUNTIME_DIR", instances.path().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    execl(VANTREL_EXIT_OPERATOR, "exit_operator", scene, versionOption.c_str(), log.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  std::string seen;
  pollfd p{pipeFds[0], POLLIN, 0};
  char buffer[64];
  ssize_t n = 1;
  while (seen.find("ready\n") == std::string::npos && n > 0 && poll(&p, 1, kGuardMs) > 0) {
    n = read(pipeFds[0], buffer, sizeof buffer);
    if (n > 0) seen.append(buffer, static_cast<std::size_t>(n));
  }
  close(pipeFds[0]);
  return seen.find("ready\n") != std::string::npos;
}

int AwaitExit(pid_t child) {
  int status = 0;
  for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; waited += 10) {
    if (waited > kGuardMs) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    usleep(10000);
  }
  return status;
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
    std::vector<int> signals;
  };
  const Case cases[] = {{10, "keying", {SIGTERM}},
                        {23, "keying", {SIGHUP}},
                        {10, "ptt", {SIGINT}},
                        {23, "ptt", {SIGTERM}},
                        {10, "setup", {SIGHUP}},
                        {23, "setup", {SIGINT}},
                        {10, "keying", {SIGTERM, SIGTERM}},
                        {10, "setup+quit", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scene) + " at firmware " + std::to_string(c.version) + ", " +
                 std::to_string(c.signals.size()) + " signals");
    settings::TempDir work;
    settings::TempDir instances;
    work.Write(settings::kSettingsFileName, settings::FormatSettings(Configured(20)));
    pid_t child = -1;
    const bool ready = StartOperator(c.scene, c.version, work, instances, child);
    ASSERT_GT(child, 0);
    for (int s : c.signals) kill(child, s);
    const int status = AwaitExit(child);
    const std::string log = work.Read("sim.log");
    ASSERT_TRUE(ready) << log;

    const std::vector<std::string> keys = Lines(log, "KEY");
    const std::vector<std::string> ptts = Lines(log, "PTT");
    if (!keys.empty()) {
      EXPECT_EQ(keys.back(), "KEY 0") << log;
    }
    ASSERT_FALSE(ptts.empty()) << log;
    EXPECT_EQ(ptts.back(), "PTT 0") << log;
    if (c.signals.size() > 1) {
      EXPECT_TRUE(status == 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 128 + c.signals[1]))
          << status;
      continue;
    }
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
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
