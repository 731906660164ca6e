#include "platform/wide_to_utf16.h"

#include <cstdint>

namespace vantrel::platform {
namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

bool IsScalarValue(std::uint32_t c) {
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

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
