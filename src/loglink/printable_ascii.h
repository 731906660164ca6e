#pragma once

#include <string>
#include <string_view>

namespace vantrel::loglink {

// The loggers' fields take plain ASCII: XML and xlog's byte-1 separated fields carry no
// control bytes, and a CP932 byte is no part of a callsign.
inline std::string PrintableAscii(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (c >= 0x20 && c <= 0x7E) kept += c;
  }
  return kept;
}

}  // namespace vantrel::loglink
