#pragma once

#include <cstddef>
#include <string_view>

namespace vantrel::operating {

// Bytes of the first CP932 character of `text`: 2 for a lead byte followed by another byte,
// 1 otherwise, 0 for empty text. Keeps a double-byte character together when text is
// handed over or moved one character at a time.
std::size_t FirstCharacterLength(std::string_view text);

}  // namespace vantrel::operating
