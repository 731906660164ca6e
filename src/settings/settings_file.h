#pragma once

#include <filesystem>
#include <istream>
#include <string>

#include "settings/file_ops.h"
#include "settings/settings.h"

namespace vantrel::settings {

inline constexpr char kSettingsFileName[] = "Vantrel.cfg";

// The 38-line settings file, "\n" line ends, texts as their CP932 bytes.
std::string FormatSettings(const Settings& settings);

// Takes over every line of `in` whose key is known and whose value is acceptable; settings
// the input does not hold keep their values. Lines may be of any length and end in "\n" or
// "\r\n"; a line is read only up to its first NUL byte.
void ReadSettings(Settings& settings, std::istream& in);

// Reads "Vantrel.cfg" in `dir` (the working directory when empty). Without that file, bank A
// becomes the ten MessageFields and nothing else changes.
void LoadSettings(Settings& settings, const std::filesystem::path& dir = {});

// Replaces "Vantrel.cfg" in `dir` (the working directory when empty) as a whole; on failure
// the previous file stays as it was and the result is false.
bool SaveSettings(const Settings& settings, const std::filesystem::path& dir = {},
                  FileOps& ops = DefaultFileOps());

}  // namespace vantrel::settings
