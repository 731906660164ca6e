#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "netkeyer/request.h"

namespace {

using vantrel::netkeyer::Request;
using vantrel::operating::TextPiece;

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// What the window is given never holds more bytes than the datagram, never a control byte,
// and only the engine's "~" prosign pieces hold a "~".
void Check(std::string_view datagram, const Request& request) {
  std::size_t bytes = 0;
  for (const TextPiece& piece : request.text) {
    if (piece.kind != TextPiece::Kind::Text) continue;
    if (piece.text.empty()) Fail("empty text piece");
    const bool prosign = piece.text.size() == 3 && piece.text[0] == '~';
    for (char c : prosign ? piece.text.substr(1) : piece.text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte == 0x7F || c == '~') Fail("control byte or mark in text");
    }
    bytes += prosign ? 1 : piece.text.size();
  }
  if (bytes > datagram.size()) Fail("more text than the datagram held");
  if (request.kind != Request::Kind::Text && !request.text.empty()) Fail("text on a command");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view datagram(reinterpret_cast<const char*>(data), size);
  Check(datagram, vantrel::netkeyer::ParseRequest(datagram));
  return 0;
}
