#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "settings/profile_file.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The input is three lines (section, key, value) and then the file's bytes.
struct Case {
  std::string_view section;
  std::string_view key;
  std::string_view value;
  std::string_view file;
};

std::string_view TakeLine(std::string_view& rest) {
  const auto newline = rest.find('\n');
  const auto line = rest.substr(0, newline);
  rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
  return line;
}

Case Split(std::string_view input) {
  Case c;
  c.section = TakeLine(input);
  c.key = TakeLine(input);
  c.value = TakeLine(input);
  c.file = input;
  return c;
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

// What reading back a written value gives: blanks around it and one pair of quotes removed.
std::string ReadBackOf(std::string_view value) {
  while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

const fs::path& ScratchFile() {
  static const vantrel::settings::TempDir dir;
  static const fs::path path = dir.path() / "profile.ini";
  return path;
}

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

}  // namespace

// Any file reads without harm, and a value written under a plain section and key reads back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Case c = Split(std::string_view(reinterpret_cast<const char*>(data), size));
  {
    std::ofstream out(ScratchFile(), std::ios::binary | std::ios::trunc);
    out.write(c.file.data(), static_cast<std::streamsize>(c.file.size()));
  }
  const vantrel::settings::ProfileFile profile(ScratchFile());
  profile.GetString(c.section, c.key, "");
  profile.GetInt(c.section, c.key, 0);
  if (!profile.WriteString(c.section, c.key, c.value)) Fail("write failed");
  const bool plain = PlainName(c.section) && PlainName(c.key) &&
                     c.value.find_first_of("\r\n") == std::string_view::npos;
  if (plain && profile.GetString(c.section, c.key, "\x01missing") != ReadBackOf(c.value)) {
    Fail("written value does not read back");
  }
  fs::remove(ScratchFile());
  return 0;
}
