#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::platform {

// Text inside the program is CP932 (Shift-JIS as Windows writes it); the window system speaks
// UTF-8. These convert at that edge. They are safe to call from any thread.

// Bytes that are not valid CP932 become U+FFFD; conversion goes on after them.
std::string Cp932ToUtf8(std::string_view cp932);

// Characters without a CP932 form, and malformed UTF-8, become '?'.
std::string Utf8ToCp932(std::string_view utf8);

// Empty when some character has no CP932 form or the UTF-8 is malformed.
std::optional<std::string> TryUtf8ToCp932(std::string_view utf8);

// Whether both directions can be opened. glibc keeps CP932 in a loadable module that a system
// may lack; the conversions above must not be called without it.
bool Cp932ConversionAvailable();

}  // namespace vantrel::platform
