#include "platform/linux/hidraw.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string_view>

#include "platform/linux/report_descriptor.h"

namespace vantrel::platform {
namespace {

constexpr std::string_view kDevDir = "/dev/";
constexpr std::string_view kNodeName = "hidraw";

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

constexpr std::uint32_t kReplacement = 0xFFFD;

bool IsScalarValue(std::uint32_t c) {
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

std::optional<std::string> HidrawReportDescriptorPath(const std::string& devicePath) {
  std::string_view node = devicePath;
  if (!node.starts_with(kDevDir)) return std::nullopt;
  node.remove_prefix(kDevDir.size());
  if (!node.starts_with(kNodeName) || !IsDigits(node.substr(kNodeName.size()))) return std::nullopt;
  return "/sys/class/hidraw/" + std::string(node) + "/device/report_descriptor";
}

std::vector<std::uint8_t> ReadHidrawReportDescriptor(const std::string& devicePath) {
  const auto sysfsPath = HidrawReportDescriptorPath(devicePath);
  if (!sysfsPath) return {};
  std::ifstream file(*sysfsPath, std::ios::binary);
  std::vector<std::uint8_t> bytes(kMaxReportDescriptorSize + 1);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return bytes;
}

int ReadWithReportId(bool numbered, std::uint8_t* buf, std::size_t capacity,
                     const RawReportRead& read) {
  if (numbered) return read(buf, capacity);
  if (capacity == 0) return -1;
  const int count = read(buf + 1, capacity - 1);
  if (count <= 0) return count;
  buf[0] = 0;
  return count + 1;
}

std::u16string WideToUtf16(std::wstring_view wide) {
  std::u16string units;
  units.reserve(wide.size());
  for (const wchar_t w : wide) {
    std::uint32_t c = static_cast<std::uint32_t>(w);
    if (!IsScalarValue(c)) c = kReplacement;
    if (c < 0x10000) {
      units.push_back(static_cast<char16_t>(c));
    } else {
      c -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
  }
  return units;
}

}  // namespace vantrel::platform
