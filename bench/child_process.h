#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::bench {

// Starts `program` with `arguments` in `dir`, a fresh private directory that is also its
// XDG_RUNTIME_DIR, so that its single-instance lock meets no other copy on the machine; the Qt
// platform is the offscreen one unless `platform` names another. Returns the child's pid.
pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& dir, const std::string& platform = "offscreen");

// True once the child has ended within `limit`; otherwise it is killed and false returned.
bool WaitForExit(pid_t pid, std::chrono::milliseconds limit);

// The program to measure: the first argument, or the one this build made.
std::string ProgramUnderTest(int argc, char** argv);

}  // namespace vantrel::bench
