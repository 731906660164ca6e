#pragma once

#include <string>
#include <string_view>

namespace vantrel::loglink {

// Printable ASCII as it is, \n \r \t \" \\ as in C, every other byte as \xHH.
std::string EscapedBytes(std::string_view bytes);

}  // namespace vantrel::loglink
