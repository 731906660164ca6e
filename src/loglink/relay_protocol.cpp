#include "loglink/relay_protocol.h"

#include <charconv>

namespace vantrel::loglink {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::optional<std::uint64_t> FromDecimal(std::string_view text) {
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string RelaySendLine(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string line = "send ";
  for (char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    line += kDigits[value >> 4];
    line += kDigits[value & 15];
  }
  return line + "\n";
}

std::optional<RelayMessage> ParseRelayLine(std::string_view line) {
  using Kind = RelayMessage::Kind;
  if (line.ends_with('\r')) line.remove_suffix(1);
  if (line == "ready") return RelayMessage{Kind::kReady, 0, {}};
  if (line == "notfound") return RelayMessage{Kind::kNotFound, 0, {}};
  if (line.starts_with("result ")) {
    std::optional<std::uint64_t> result = FromDecimal(line.substr(7));
    if (result) return RelayMessage{Kind::kResult, *result, {}};
  }
  if (line.starts_with("reply ")) {
    std::optional<std::string> bytes = FromHex(line.substr(6));
    if (bytes) return RelayMessage{Kind::kReply, 0, std::move(*bytes)};
  }
  return std::nullopt;
}

}  // namespace vantrel::loglink
