#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "sim/sim_bus.h"
#include "sim/wire_names.h"
#include "ui/main_dlg_ids.h"
#include "ui/sim_window_rig.h"

namespace vantrel::reliability {

using ui::CMainDlg;

// Entries in a /proc/self folder: open descriptors ("fd") or threads ("task").
inline std::size_t ProcCount(const char* folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path("/proc/self") / folder)) {
    ++count;
  }
  return count;
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
    for (std::uint8_t code : kSettingCodes) {
      if (command.bytes[1] == code) last[code] = command.bytes;
    }
  }
  return last;
}

using SessionRig = ui::rig::SimWindowRig;

}  // namespace vantrel::reliability
