#include "loglink/link_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace vantrel::loglink {
namespace {

bool IsPrivateFolder(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

}  // namespace

std::optional<std::string> LinkDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') return std::string(runtime);
  std::string own = "/tmp/vantrel-" + std::to_string(::geteuid());
  ::mkdir(own.c_str(), 0700);
  if (!IsPrivateFolder(own)) return std::nullopt;
  return own;
}

std::optional<std::string> LogProgramAddress() {
  std::optional<std::string> directory = LinkDirectory();
  if (!directory) return std::nullopt;
  return *directory + "/" + kLogProgramName;
}

}  // namespace vantrel::loglink
