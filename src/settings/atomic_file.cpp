#include "settings/atomic_file.h"

#include <fcntl.h>

#include <cerrno>

namespace vantrel::settings {
namespace {

bool WriteAll(FileOps& ops, int fd, std::string_view contents) {
  while (!contents.empty()) {
    ssize_t written = ops.Write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The rename is durable only once the directory entry itself is synced.
void SyncDirectory(FileOps& ops, const std::filesystem::path& dir) {
  int fd = ops.Open(dir.empty() ? "." : dir.string(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  ops.Fsync(fd);
  ops.Close(fd);
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         FileOps& ops) {
  const std::string temp = path.string() + ".tmp";
  int fd = ops.Open(temp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = WriteAll(ops, fd, contents) && ops.Fsync(fd) == 0;
  ok = ops.Close(fd) == 0 && ok;
  ok = ok && ops.Rename(temp, path.string()) == 0;
  if (!ok) {
    ops.Unlink(temp);
    return false;
  }
  SyncDirectory(ops, path.parent_path());
  return true;
}

}  // namespace vantrel::settings
