#include <array>
#include <charconv>
#include <optional>
#include <utility>

#include "netkeyer/request.h"

namespace vantrel::netkeyer {
namespace {

using operating::TextPiece;
using Kind = Request::Kind;

constexpr char kEscape = 0x1B;
constexpr char kBackspace = 0x08;
constexpr char kEchoMark = '^';
constexpr int kWpmStep = 2;

struct Prosign {
  char mark;
  const char* text;
};

// libcw's single characters for prosigns, as the engine's "~" followed by two letters.
constexpr std::array<Prosign, 7> kProsigns{{{'*', "~AR"},
                                            {'=', "~BT"},
                                            {'<', "~SK"},
                                            {'(', "~KN"},
                                            {'!', "~SN"},
                                            {'&', "~AS"},
                                            {'>', "~BK"}}};

Request Of(Kind kind, int value = 0, std::string_view argument = {}) {
  Request request;
  request.kind = kind;
  request.value = value;
  request.argument = std::string(argument);
  return request;
}

TextPiece Piece(TextPiece::Kind kind, std::string_view bytes = {}, int wpmStep = 0) {
  TextPiece piece;
  piece.kind = kind;
  piece.text = std::string(bytes);
  piece.wpmStep = wpmStep;
  return piece;
}

struct Range {
  int min;
  int max;
};

std::optional<int> Number(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

Request Valued(Kind kind, std::string_view text, Range range) {
  const std::optional<int> value = Number(text);
  if (!value || *value < range.min || *value > range.max) return {};
  return Of(kind, *value);
}

Request Command(char code, std::string_view argument) {
  switch (code) {
    case '0':
      return Of(Kind::Reset);
    case '2':
      return Valued(Kind::Speed, argument, {4, 60});
    case '3':
      return Valued(Kind::Tone, argument, {0, 4000});
    case '4':
      return Of(Kind::Abort);
    case '5':
      return Of(Kind::Exit);
    case '6':
      return Of(Kind::WordMode);
    case '7':
      return Valued(Kind::Weight, argument, {-50, 50});
    case 'a':
      return Valued(Kind::Ptt, argument, {0, 1});
    case 'b':
      return Valued(Kind::Accepted, argument, {0, 1});
    case 'c':
      return Valued(Kind::Tune, argument, {0, 10});
    case 'd': {
      Request request = Valued(Kind::PttDelay, argument, {0, 1 << 30});
      request.value = std::min(request.value, 50);
      return request;
    }
    case 'g':
      return Valued(Kind::Accepted, argument, {0, 100});
    case '8':
    case '9':
    case 'e':
    case 'f':
      return Of(Kind::Accepted, 0, argument);
    case 'h':
      return Of(Kind::ReplyNext, 0, argument);
    default:
      return {};
  }
}

void AddText(operating::NetworkText& text, std::string_view bytes) {
  const bool joins = !text.empty() && text.back().kind == TextPiece::Kind::Text &&
                     !text.back().text.starts_with('~');
  if (!joins) {
    text.push_back(Piece(TextPiece::Kind::Text));
  }
  text.back().text += bytes;
}

void AddSpeedStep(operating::NetworkText& text, int step) {
  if (!text.empty() && text.back().kind == TextPiece::Kind::SpeedStep) {
    text.back().wpmStep += step;
    return;
  }
  text.push_back(Piece(TextPiece::Kind::SpeedStep, {}, step));
}

// A prosign stands in a piece of its own, so the engine never joins it to what follows.
void AddByte(operating::NetworkText& text, char byte) {
  for (const Prosign& prosign : kProsigns) {
    if (byte != prosign.mark) continue;
    text.push_back(Piece(TextPiece::Kind::Text, prosign.text));
    return;
  }
  if (byte == '+') return AddSpeedStep(text, kWpmStep);
  if (byte == '-') return AddSpeedStep(text, -kWpmStep);
  if (byte == kBackspace) {
    if (!text.empty() && text.back().kind == TextPiece::Kind::Text) {
      std::string& last = text.back().text;
      last.resize(last.starts_with('~') ? 0 : last.size() - 1);
      if (last.empty()) text.pop_back();
      return;
    }
    text.push_back(Piece(TextPiece::Kind::Erase));
    return;
  }
  // '~' is cwdaemon's half-space, which the Halvix cannot key; control bytes have no code.
  const auto value = static_cast<unsigned char>(byte);
  if (byte == '~' || value < 0x20 || value == 0x7F) return;
  AddText(text, std::string_view(&byte, 1));
}

Request Text(std::string_view bytes) {
  Request request = Of(Kind::Text);
  const std::size_t echoAt = bytes.find(kEchoMark);
  if (echoAt != std::string_view::npos) {
    request.echo = true;
    bytes = bytes.substr(0, echoAt);
    // The echo names AR by libcw's own character, as cwdaemon's does.
    for (char byte : bytes) request.argument += byte == '*' ? '+' : byte;
  }
  for (char byte : bytes) AddByte(request.text, byte);
  if (request.text.empty() && !request.echo) return {};
  return request;
}

}  // namespace

Request ParseRequest(std::string_view datagram) {
  if (datagram.size() > kMaxDatagram) return {};
  while (!datagram.empty() && (datagram.back() == '\r' || datagram.back() == '\n')) {
    datagram.remove_suffix(1);
  }
  if (datagram.empty()) return {};
  if (datagram.front() != kEscape) return Text(datagram);
  if (datagram.size() < 2) return {};
  return Command(datagram[1], datagram.substr(2));
}

}  // namespace vantrel::netkeyer
