#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

namespace vantrel::platform {

// The named object that lets only one copy of the program run per user: an advisory lock on a
// file. The kernel drops the lock with the process, so a copy that crashed never blocks the
// next start.
class SingleInstance {
 public:
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // nullptr when another holder has `name` in `dir`. When the lock file cannot be made at
  // all, the object holds nothing and the program runs unguarded rather than not at all.
  static std::unique_ptr<SingleInstance> Acquire(const std::filesystem::path& dir,
                                                 std::string_view name);

  // Where the per-user objects live: $XDG_RUNTIME_DIR, else a private folder in the temporary
  // directory.
  static std::filesystem::path DefaultDirectory();

  bool Held() const { return fd_ >= 0; }

 private:
  explicit SingleInstance(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace vantrel::platform
