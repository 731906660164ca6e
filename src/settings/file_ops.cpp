#include "settings/file_ops.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace vantrel::settings {

int PosixFileOps::Open(const std::string& path, int flags, mode_t mode) {
  return ::open(path.c_str(), flags, mode);
}

ssize_t PosixFileOps::Write(int fd, const void* data, std::size_t size) {
  return ::write(fd, data, size);
}

int PosixFileOps::Fsync(int fd) {
  return ::fsync(fd);
}

int PosixFileOps::Close(int fd) {
  return ::close(fd);
}

int PosixFileOps::Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str());
}

int PosixFileOps::Unlink(const std::string& path) {
  return ::unlink(path.c_str());
}

FileOps& DefaultFileOps() {
  static PosixFileOps ops;
  return ops;
}

}  // namespace vantrel::settings
