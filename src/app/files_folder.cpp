#include "app/files_folder.h"

#include <string_view>
#include <system_error>

namespace vantrel::app {
namespace {

namespace fs = std::filesystem;

bool Absolute(const char* path) {
  return path != nullptr && std::string_view(path).starts_with('/');
}

}  // namespace

fs::path ConfigHomeFolder(const char* xdgConfigHome, const char* home) {
  if (Absolute(xdgConfigHome)) return fs::path(xdgConfigHome) / "vantrel";
  if (Absolute(home)) return fs::path(home) / ".config" / "vantrel";
  throw fs::filesystem_error("neither XDG_CONFIG_HOME nor HOME names an absolute folder",
                             std::make_error_code(std::errc::no_such_file_or_directory));
}

void MakeOwnerOnlyFolder(const fs::path& folder) {
  if (fs::is_directory(folder)) return;
  if (folder.has_parent_path() && folder.parent_path() != folder) {
    MakeOwnerOnlyFolder(folder.parent_path());
  }
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
}

}  // namespace vantrel::app
