#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "operating/network_text.h"

namespace vantrel::netkeyer {

// The largest datagram the protocol carries.
inline constexpr std::size_t kMaxDatagram = 256;

// One datagram of the cwdaemon protocol, understood.
struct Request {
  enum class Kind {
    Ignored,    // malformed, unknown, out of range or empty: no effect, no reply
    Reset,      // ESC 0
    Speed,      // ESC 2, value in words per minute, 4..60
    Tone,       // ESC 3, Hz, 0..4000; 0 silences
    Abort,      // ESC 4
    Exit,       // ESC 5
    WordMode,   // ESC 6
    Weight,     // ESC 7, -50..50
    Ptt,        // ESC a, 0 or 1
    Tune,       // ESC c, seconds 0..10
    PttDelay,   // ESC d, ms, clipped to 0..50
    Accepted,   // ESC 8, 9, b, e, f, g: understood, nothing for the Halvix to do
    ReplyNext,  // ESC h, argument is the reply's text after "h"
    Text,       // text to key; `echo` asks for the text back once keyed
  };
  Kind kind = Kind::Ignored;
  int value = 0;
  std::string argument;
  operating::NetworkText text;
  bool echo = false;
  bool operator==(const Request&) const = default;
};

// Trailing CR and LF are dropped first. A datagram longer than kMaxDatagram is ignored.
Request ParseRequest(std::string_view datagram);

}  // namespace vantrel::netkeyer
