#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace vantrel::settings {
namespace {

Settings Variant(unsigned wpm, char fill) {
  Settings s;
  s.WPM = wpm;
  for (auto& message : s.FnMsgA) message = std::string(256, fill);
  for (auto& message : s.FnMsgB) message = std::string(200, fill);
  return s;
}

// A saving process killed at any moment leaves the old file or the new one, never a torn one.
TEST(SaveSettingsKilled, FileIsAlwaysTheOldOrTheNewOne) {
  TempDir dir;
  const Settings first = Variant(20, 'A');
  const Settings second = Variant(30, 'B');
  ASSERT_TRUE(SaveSettings(first, dir.path()));
  const std::string firstBytes = FormatSettings(first);
  const std::string secondBytes = FormatSettings(second);
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> delayUs(0, 3000);
  for (int trial = 0; trial < 200; ++trial) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned i = 0;; ++i) SaveSettings(i % 2 ? first : second, dir.path());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string bytes = dir.Read(kSettingsFileName);
    ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes) << "trial " << trial;
  }
}

}  // namespace
}  // namespace vantrel::settings
