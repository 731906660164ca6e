#include "platform/linux/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace vantrel::platform {

SingleInstance::~SingleInstance() {
  if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const std::filesystem::path& dir,
                                                        std::string_view name) {
  std::filesystem::path path = dir / (std::string(name) + ".lock");
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return std::unique_ptr<SingleInstance>(new SingleInstance(-1));
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return std::unique_ptr<SingleInstance>(new SingleInstance(fd));
  bool heldElsewhere = errno == EWOULDBLOCK;
  ::close(fd);
  if (heldElsewhere) return nullptr;
  return std::unique_ptr<SingleInstance>(new SingleInstance(-1));
}

std::filesystem::path SingleInstance::DefaultDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  if (runtime && *runtime && std::filesystem::is_directory(runtime, error)) return runtime;
  std::filesystem::path own =
      std::filesystem::temp_directory_path(error) / ("vantrel-" + std::to_string(::getuid()));
  ::mkdir(own.c_str(), 0700);
  return own;
}

}  // namespace vantrel::platform
