#include "fuzz_target.h"
#include "netkeyer/request.h"

using vantrel::netkeyer::Request;
using vantrel::operating::TextPiece;

// What the window is given never holds more bytes than the datagram, never a control byte,
// and only the engine's "~" prosign pieces hold a "~".
void FuzzOne(std::string_view datagram) {
  const Request request = vantrel::netkeyer::ParseRequest(datagram);
  std::size_t bytes = 0;
  for (const TextPiece& piece : request.text) {
    if (piece.kind != TextPiece::Kind::Text) continue;
    Require(!piece.text.empty(), "empty text piece");
    const bool prosign = piece.text.size() == 3 && piece.text[0] == '~';
    for (char c : prosign ? piece.text.substr(1) : piece.text) {
      const auto byte = static_cast<unsigned char>(c);
      Require(byte >= 0x20 && byte != 0x7F && c != '~', "control byte or mark in text");
    }
    bytes += prosign ? 1 : piece.text.size();
  }
  Require(bytes <= datagram.size(), "more text than the datagram held");
  Require(request.kind == Request::Kind::Text || request.text.empty(), "text on a command");
}
