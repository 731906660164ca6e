#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ui/sim_window_rig.h"

namespace vantrel::reliability {

using SessionRig = ui::rig::SimWindowRig;
using ui::CMainDlg;

inline std::size_t OpenFdCount() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

// The program's own threads, which it names "vantrel-..."; threads Qt starts and keeps for
// itself, sooner or later under load, are not counted.
inline std::size_t VantrelThreadCount() {
  std::size_t count = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    if (std::getline(comm, name) && name.starts_with("vantrel")) ++count;
  }
  return count;
}

// Polls `done` in real time; for waits on threads, never for measuring.
template <typename Done>
bool WaitReal(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The keyer setting commands the interface received, the last of each code.
inline std::map<std::uint8_t, sim::Report> LastSettings(
    const std::vector<sim::ReceivedCommand>& commands) {
  static constexpr std::uint8_t kSettingCodes[] = {sim::CmdKeyerParams,   sim::CmdPttDelays,
                                                   sim::CmdSpeed,         sim::CmdPttControl,
                                                   sim::CmdPaddleReverse, sim::CmdModeFlags};
  std::map<std::uint8_t, sim::Report> last;
  for (const auto& command : commands) {
    if (std::ranges::find(kSettingCodes, command.bytes[1]) != std::end(kSettingCodes)) {
      last[command.bytes[1]] = command.bytes;
    }
  }
  return last;
}

}  // namespace vantrel::reliability
