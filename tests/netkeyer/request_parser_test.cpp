#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netkeyer/request.h"

namespace vantrel::netkeyer {
namespace {

using Kind = Request::Kind;
using operating::TextPiece;

// A piece written the short way: "T:text", "S:step", "E".
std::string Show(const operating::NetworkText& text) {
  std::string shown;
  for (const TextPiece& piece : text) {
    if (!shown.empty()) shown += "|";
    if (piece.kind == TextPiece::Kind::Text) shown += "T:" + piece.text;
    if (piece.kind == TextPiece::Kind::SpeedStep) shown += "S:" + std::to_string(piece.wpmStep);
    if (piece.kind == TextPiece::Kind::Erase) shown += "E";
  }
  return shown;
}

struct CommandCase {
  std::string datagram;
  Kind kind;
  int value;
  std::string argument;
};

TEST(RequestParser, CommandsWithTheirBounds) {
  const char kEscape = '\x1b';
  std::vector<CommandCase> cases = {
      {"0", Kind::Reset, 0, ""},
      {"24", Kind::Speed, 4, ""},
      {"2 60", Kind::Speed, 60, ""},
      {"261", Kind::Ignored, 0, ""},
      {"23", Kind::Ignored, 0, ""},
      {"2", Kind::Ignored, 0, ""},
      {"2 25x", Kind::Ignored, 0, ""},
      {"225\r\n", Kind::Speed, 25, ""},
      {"30", Kind::Tone, 0, ""},
      {"34000", Kind::Tone, 4000, ""},
      {"34001", Kind::Ignored, 0, ""},
      {"4", Kind::Abort, 0, ""},
      {"5", Kind::Exit, 0, ""},
      {"6", Kind::WordMode, 0, ""},
      {"7-50", Kind::Weight, -50, ""},
      {"750", Kind::Weight, 50, ""},
      {"751", Kind::Ignored, 0, ""},
      {"8null", Kind::Accepted, 0, "null"},
      {"96789", Kind::Accepted, 0, "6789"},
      {"a1", Kind::Ptt, 1, ""},
      {"a0", Kind::Ptt, 0, ""},
      {"a2", Kind::Ignored, 0, ""},
      {"b1", Kind::Accepted, 1, ""},
      {"b2", Kind::Ignored, 0, ""},
      {"c10", Kind::Tune, 10, ""},
      {"c0", Kind::Tune, 0, ""},
      {"c11", Kind::Ignored, 0, ""},
      {"d20", Kind::PttDelay, 20, ""},
      {"d999", Kind::PttDelay, 50, ""},
      {"d-1", Kind::Ignored, 0, ""},
      {"e1001", Kind::Accepted, 0, "1001"},
      {"fn", Kind::Accepted, 0, "n"},
      {"g100", Kind::Accepted, 100, ""},
      {"g101", Kind::Ignored, 0, ""},
      {"hcat", Kind::ReplyNext, 0, "cat"},
      {"h", Kind::ReplyNext, 0, ""},
      {"z", Kind::Ignored, 0, ""},
  };
  for (CommandCase& c : cases) c.datagram.insert(0, 1, kEscape);
  cases.insert(cases.end(), {
                                {"\x1b", Kind::Ignored, 0, ""},
                                {"", Kind::Ignored, 0, ""},
                                {"\r\n", Kind::Ignored, 0, ""},
                                {std::string(257, 'E'), Kind::Ignored, 0, ""},
                            });
  for (const CommandCase& c : cases) {
    const Request request = ParseRequest(c.datagram);
    EXPECT_EQ(request.kind, c.kind) << c.datagram;
    EXPECT_EQ(request.value, c.value) << c.datagram;
    EXPECT_EQ(request.argument, c.argument) << c.datagram;
  }
}

struct TextCase {
  std::string datagram;
  std::string pieces;
  bool echo;
  std::string echoText;
};

TEST(RequestParser, TextWithSpeedMarksProsignsAndEcho) {
  const std::vector<TextCase> cases = {
      {"CQ TEST", "T:CQ TEST", false, ""},
      {"cq de ja1zzz\r\n", "T:cq de ja1zzz", false, ""},
      {"qrz de pa0rct ++test--", "T:qrz de pa0rct |S:4|T:test|S:-4", false, ""},
      {"5NN+-1", "T:5NN|S:0|T:1", false, ""},
      {"TU*", "T:TU|T:~AR", false, ""},
      {"=<(!&>", "T:~BT|T:~SK|T:~KN|T:~SN|T:~AS|T:~BK", false, ""},
      {"*K", "T:~AR|T:K", false, ""},
      {"d~l~2", "T:dl2", false, ""},
      {"AB\x08", "T:A", false, ""},
      {"*\x08K", "T:K", false, ""},
      {"\x08\x08X", "E|E|T:X", false, ""},
      {"A\tB\x01\x7F", "T:AB", false, ""},
      {"\xb1\xb2", "T:\xb1\xb2", false, ""},
      {"TEST^", "T:TEST", true, "TEST"},
      {"OK^ignored", "T:OK", true, "OK"},
      {"TU *^", "T:TU |T:~AR", true, "TU +"},
      {"^", "", true, ""},
      {std::string(256, 'E'), "T:" + std::string(256, 'E'), false, ""},
  };
  for (const TextCase& c : cases) {
    const Request request = ParseRequest(c.datagram);
    EXPECT_EQ(request.kind, Kind::Text) << c.datagram;
    EXPECT_EQ(Show(request.text), c.pieces) << c.datagram;
    EXPECT_EQ(request.echo, c.echo) << c.datagram;
    EXPECT_EQ(request.argument, c.echoText) << c.datagram;
  }
}

TEST(RequestParser, TextWithNothingToKeyIsIgnored) {
  for (const std::string datagram : {"~", "\x01\x02", "\t"}) {
    EXPECT_EQ(ParseRequest(datagram).kind, Kind::Ignored) << datagram;
  }
}

}  // namespace
}  // namespace vantrel::netkeyer
