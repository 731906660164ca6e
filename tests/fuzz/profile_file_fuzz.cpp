#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_target.h"
#include "settings/profile_file.h"
#include "support/temp_dir.h"

// Text the file holds as it is: not empty, none of `banned` in it, and no blank around it.
static bool Plain(std::string_view text, std::string_view banned) {
  return text.find_first_of(banned) == std::string_view::npos &&
         text.find_first_not_of(" \t") == 0 && text.find_last_not_of(" \t") + 1 == text.size();
}

// The input is three lines (section, key, value) and then the file's bytes. Any file reads
// without harm, and a value written under a plain section and key reads back: a name holds no
// brackets or equals sign, and a value starts with no quote.
void FuzzOne(std::string_view bytes) {
  static const vantrel::settings::TempDir dir;
  const auto path = dir.path() / "profile.ini";
  std::istringstream in{std::string(bytes)};
  std::string section, key, value;
  std::getline(std::getline(std::getline(in, section), key), value);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << in.rdbuf();
  const vantrel::settings::ProfileFile profile(path);
  profile.GetString(section, key, "");
  profile.GetInt(section, key, 0);
  Require(profile.WriteString(section, key, value), "write failed");
  const bool plain = Plain(section, "[]=\r\n") && Plain(key, "[]=\r\n") &&
                     (value.empty() || (Plain(value, "\r\n") && value.find_first_of("\"'") != 0));
  Require(!plain || profile.GetString(section, key, "\x01missing") == value,
          "written value does not read back");
  std::filesystem::remove(path);
}
