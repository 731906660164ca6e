#pragma once

#include <filesystem>
#include <string_view>

#include "settings/file_ops.h"

namespace vantrel::settings {

// Replaces `path` with `contents` so that a reader sees either the old file or the whole new
// one: the bytes go to a temporary file beside it, are synced, and the temporary is renamed
// over `path`. On any failure the temporary is removed, `path` is untouched, and the result
// is false.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         FileOps& ops = DefaultFileOps());

}  // namespace vantrel::settings
