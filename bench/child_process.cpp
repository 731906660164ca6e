#include "child_process.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

namespace vantrel::bench {

pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& dir, const std::string& platform) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (chdir(dir.c_str()) != 0) _exit(127);
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
  execv(program.c_str(), argv.data());
  _exit(127);
}

bool WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return false;
}

std::string ProgramUnderTest(int argc, char** argv) {
  // Absolute, because the child starts in its own directory.
  return std::filesystem::absolute(argc > 1 ? argv[1] : VANTREL_PROGRAM).string();
}

}  // namespace vantrel::bench
