#include "loglink/escaped_bytes.h"

namespace vantrel::loglink {
namespace {

std::string EscapeOne(unsigned char byte) {
  switch (byte) {
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
  }
  if (byte >= 0x20 && byte < 0x7F) return std::string(1, static_cast<char>(byte));
  const char* hex = "0123456789ABCDEF";
  return {'\\', 'x', hex[byte >> 4], hex[byte & 0xF]};
}

}  // namespace

std::string EscapedBytes(std::string_view bytes) {
  std::string out;
  for (char c : bytes) out += EscapeOne(static_cast<unsigned char>(c));
  return out;
}

}  // namespace vantrel::loglink
