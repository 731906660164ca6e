#pragma once

#include <filesystem>

namespace vantrel::app {

// The per-user folder of the program's three files: $XDG_CONFIG_HOME/vantrel, or
// $HOME/.config/vantrel when XDG_CONFIG_HOME is unset, empty or not absolute (a relative one
// is to be ignored). Throws filesystem_error when HOME gives no absolute folder either.
std::filesystem::path ConfigHomeFolder(const char* xdgConfigHome, const char* home);

// Creates `folder` and each missing folder above it, owner-only (0700); folders that exist
// keep their modes. Throws filesystem_error when one cannot be made.
void MakeOwnerOnlyFolder(const std::filesystem::path& folder);

}  // namespace vantrel::app
