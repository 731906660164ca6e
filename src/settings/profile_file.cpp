#include "settings/profile_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace vantrel::settings {
namespace {

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n" or empty for an unterminated last line
};

std::vector<Line> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string all(std::istreambuf_iterator<char>(in), {});
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t newline = all.find('\n', start);
    if (newline == std::string::npos) {
      lines.push_back({all.substr(start), ""});
      break;
    }
    bool crlf = newline > start && all[newline - 1] == '\r';
    lines.push_back({all.substr(start, newline - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
    start = newline + 1;
  }
  return lines;
}

std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::optional<std::string_view> ValueOf(std::string_view line, std::string_view key) {
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || !SameName(Trim(line.substr(0, equals)), key)) {
    return std::nullopt;
  }
  return Trim(line.substr(equals + 1));
}

struct Place {
  std::optional<std::size_t> sectionEnd;  // index after the section's last key line
  std::optional<std::size_t> keyLine;
};

Place Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i].text)) {
      if (inSection) break;
      inSection = SameName(*name, section);
      if (inSection) place.sectionEnd = i + 1;
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines[i].text).empty()) place.sectionEnd = i + 1;
    if (ValueOf(lines[i].text, key)) {
      place.keyLine = i;
      return place;
    }
  }
  return place;
}

std::string LineEndOf(const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    if (!line.end.empty()) return line.end;
  }
  return "\r\n";
}

bool WriteWhole(const std::filesystem::path& path, const std::string& contents) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool written =
      ::write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
  written = ::fsync(fd) == 0 && written;
  written = ::close(fd) == 0 && written;
  if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

}  // namespace

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
  std::vector<Line> lines = ReadLines(path_);
  Place place = Find(lines, section, key);
  if (!place.keyLine) return std::string(fallback);
  std::string_view value = *ValueOf(lines[*place.keyLine].text, key);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
  std::vector<Line> lines = ReadLines(path_);
  Place place = Find(lines, section, key);
  if (!place.keyLine) return fallback;
  std::string_view value = *ValueOf(lines[*place.keyLine].text, key);
  int number = 0;
  std::from_chars(value.data(), value.data() + value.size(), number);
  return number;
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) const {
  std::vector<Line> lines = ReadLines(path_);
  const std::string end = LineEndOf(lines);
  std::string keyLine = std::string(key) + "=" + std::string(value);
  Place place = Find(lines, section, key);
  if (place.keyLine) {
    lines[*place.keyLine].text = keyLine;
  } else if (place.sectionEnd) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*place.sectionEnd), {keyLine, end});
  } else {
    std::string header(1, '[');
    header.append(section).push_back(']');
    lines.push_back({header, end});
    lines.push_back({keyLine, end});
  }
  std::string contents;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool last = i + 1 == lines.size();
    const std::string& lineEnd = lines[i].end.empty() && !last ? end : lines[i].end;
    contents += lines[i].text + lineEnd;
  }
  return WriteWhole(path_, contents);
}

}  // namespace vantrel::settings
