#include "platform/hidraw_descriptor.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "platform/report_descriptor.h"

namespace vantrel::platform {
namespace {

constexpr std::string_view kDevDir = "/dev/";
constexpr std::string_view kNodeName = "hidraw";

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
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

}  // namespace vantrel::platform
