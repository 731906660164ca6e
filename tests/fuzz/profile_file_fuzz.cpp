#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "require.h"
#include "settings/profile_file.h"
#include "support/temp_dir.h"

namespace {

std::string_view TakeLine(std::string_view& rest) {
  const auto newline = rest.find('\n');
  const auto line = rest.substr(0, newline);
  rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
  return line;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A name the file can hold as it is: no brackets, equals sign or line end in it, and no
// blanks around it.
bool PlainName(std::string_view name) {
  return !name.empty() && name.find_first_of("[]=\r\n") == std::string_view::npos &&
         !IsBlank(name.front()) && !IsBlank(name.back());
}

// A value that reads back as it was written: on one line, with no blanks or quote around it.
bool PlainValue(std::string_view value) {
  if (value.empty()) return true;
  return value.find_first_of("\r\n") == std::string_view::npos && !IsBlank(value.front()) &&
         !IsBlank(value.back()) && value.front() != '"' && value.front() != '\'';
}

}  // namespace

// The input is three lines (section, key, value) and then the file's bytes. Any file reads
// without harm, and a value written under a plain section and key reads back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const vantrel::settings::TempDir dir;
  const auto path = dir.path() / "profile.ini";
  std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto section = TakeLine(file), key = TakeLine(file), value = TakeLine(file);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << file;
  const vantrel::settings::ProfileFile profile(path);
  profile.GetString(section, key, "");
  profile.GetInt(section, key, 0);
  Require(profile.WriteString(section, key, value), "write failed");
  const bool plain = PlainName(section) && PlainName(key) && PlainValue(value);
  Require(!plain || profile.GetString(section, key, "\x01missing") == value,
          "written value does not read back");
  std::filesystem::remove(path);
  return 0;
}
