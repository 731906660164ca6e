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

struct ExitCase {
  unsigned version;
  const char* scene;
  std::vector<int> signals;
};

std::ostream& operator<<(std::ostream& out, const ExitCase& c) {
  out << "fw" << c.version << " " << c.scene;
  if (c.signals.empty()) out << " (no signal)";
  for (int s : c.signals) out << " " << strsignal(s);
  return out;
}

settings::Settings Configured(int wpm) {
  settings::Settings settings;
  settings.PTTCtrl = true;
  settings.WPM = wpm;
  return settings;
}

pid_t StartOperator(const ExitCase& c, const settings::TempDir& work,
                    const settings::TempDir& instances, int& readyFd) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  const std::string version = "--simulate=" + std::to_string(c.version);
  const std::string log = "--simulate-log=" + (work.path() / "sim.log").string();
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (chdir(work.path().c_str()) != 0) _exit(126);
    setenv("XDG_RUNTIME_DIR", instances.path().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    execl(VANTREL_EXIT_OPERATOR, "exit_operator", c.scene, version.c_str(), log.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  readyFd = pipeFds[0];
  return child;
}

bool AwaitReady(int fd) {
  std::string seen;
  pollfd p{fd, POLLIN, 0};
  while (seen.find("ready\n") == std::string::npos) {
    if (poll(&p, 1, kGuardMs) <= 0) return false;
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    seen.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
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

std::vector<std::string> Lines(const std::string& text, const std::string& kind) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const auto space = line.find(' ');
    if (line.compare(space + 1, kind.size() + 1, kind + " ") == 0) {
      lines.push_back(line.substr(space + 1));
    }
  }
  return lines;
}

class ExitOnSignal : public testing::TestWithParam<ExitCase> {};

TEST_P(ExitOnSignal, ReleasesKeyAndPttSendsTheClosingCommandsLastAndSavesBothFiles) {
  const ExitCase& c = GetParam();
  settings::TempDir work;
  settings::TempDir instances;
  work.Write(settings::kSettingsFileName, settings::FormatSettings(Configured(20)));
  int readyFd = -1;
  const pid_t child = StartOperator(c, work, instances, readyFd);
  ASSERT_GT(child, 0);
  const bool ready = AwaitReady(readyFd);
  close(readyFd);
  for (int s : c.signals) kill(child, s);
  const int status = AwaitExit(child);
  ASSERT_TRUE(ready) << work.Read("sim.log");

  const std::string log = work.Read("sim.log");
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
    return;
  }
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::vector<std::string> commands = Lines(log, "OUT");
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[commands.size() - 2], "OUT 00 01 0F 0F 0F 0F 0F 0F 0F");
  EXPECT_EQ(commands.back(), "OUT 00 02 0F 0F 0F 0F 0F 0F 0F");
  EXPECT_EQ(work.Read(settings::kSettingsFileName), settings::FormatSettings(Configured(5)));
  EXPECT_TRUE(std::regex_search(work.Read("Vantrel.ini"),
                                std::regex(R"(\[Window\]\r?\nSize=-?\d+,-?\d+,-?\d+,-?\d+\r?\n)"
                                           R"(Top=0\r?\n)")))
      << work.Read("Vantrel.ini");
}

INSTANTIATE_TEST_SUITE_P(
    RealSignals, ExitOnSignal,
    testing::Values(ExitCase{10, "keying", {SIGTERM}}, ExitCase{23, "keying", {SIGHUP}},
                    ExitCase{10, "ptt", {SIGINT}}, ExitCase{23, "ptt", {SIGTERM}},
                    ExitCase{10, "setup", {SIGHUP}}, ExitCase{23, "setup", {SIGINT}},
                    ExitCase{10, "keying", {SIGTERM, SIGTERM}}, ExitCase{10, "setup+quit", {}}));

}  // namespace
}  // namespace vantrel::app
