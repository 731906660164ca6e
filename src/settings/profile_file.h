#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel::settings {

// A Windows initialisation file ("[Section]" lines, "Key=Value" lines). Section and key names
// compare without regard to ASCII case. Writing replaces one key's line, or adds the key (and
// its section) at the end, and leaves every other line of the file exactly as it was.
class ProfileFile {
 public:
  explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

  // The value with surrounding blanks and one pair of enclosing quotes removed, or
  // `fallback` when the file, the section or the key is missing.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) const;
  // The value's leading decimal number (0 when it has none), or `fallback` when missing.
  int GetInt(std::string_view section, std::string_view key, int fallback) const;
  // False when the file could not be written; it is then unchanged.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::filesystem::path path_;
};

}  // namespace vantrel::settings
