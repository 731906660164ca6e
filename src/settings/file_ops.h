#pragma once

#include <sys/types.h>

#include <string>

namespace vantrel::settings {

// The POSIX calls a save makes, behind one seam so tests can fail any of them.
class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual int Open(const std::string& path, int flags, mode_t mode) = 0;
  virtual ssize_t Write(int fd, const void* data, std::size_t size) = 0;
  virtual int Fsync(int fd) = 0;
  virtual int Close(int fd) = 0;
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  virtual int Unlink(const std::string& path) = 0;
};

class PosixFileOps : public FileOps {
 public:
  int Open(const std::string& path, int flags, mode_t mode) override;
  ssize_t Write(int fd, const void* data, std::size_t size) override;
  int Fsync(int fd) override;
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Unlink(const std::string& path) override;
};

FileOps& DefaultFileOps();

}  // namespace vantrel::settings
