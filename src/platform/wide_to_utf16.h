#pragma once

#include <string>
#include <string_view>

namespace vantrel::platform {

// Converts UTF-32 wide text (wchar_t on Linux) to UTF-16 units; code points that UTF-16
// cannot carry become U+FFFD.
std::u16string WideToUtf16(std::wstring_view wide);

}  // namespace vantrel::platform
