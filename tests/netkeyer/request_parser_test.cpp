#include <gtest/gtest.h>

#include <string>

#include "netkeyer/request.h"

namespace vantrel::netkeyer {
namespace {

using operating::TextPiece;

// A request written the short way: its kind, value, 'argument', then its pieces ("T:text",
// "S:step", "E") and "echo".
std::string Show(const Request& request) {
  static const char* const kKinds[] = {"Ignored",  "Reset",    "Speed",     "Tone", "Abort",
                                       "Exit",     "WordMode", "Weight",    "Ptt",  "Tune",
                                       "PttDelay", "Accepted", "ReplyNext", "Text"};
  std::string shown = kKinds[static_cast<int>(request.kind)];
  if (request.value != 0) shown += " " + std::to_string(request.value);
  if (!request.argument.empty()) shown += " '" + request.argument + "'";
  for (const TextPiece& piece : request.text) {
    if (piece.kind == TextPiece::Kind::Text) shown += " T:" + piece.text;
    if (piece.kind == TextPiece::Kind::SpeedStep) shown += " S:" + std::to_string(piece.wpmStep);
    if (piece.kind == TextPiece::Kind::Erase) shown += " E";
  }
  return request.echo ? shown + " echo" : shown;
}

TEST(RequestParser, EachDatagramGivesItsAction) {
  const std::pair<std::string, std::string> cases[] = {
      {"\0330", "Reset"},
      {"\03324", "Speed 4"},
      {"\0332 60", "Speed 60"},
      {"\033261", "Ignored"},
      {"\03323", "Ignored"},
      {"\0332", "Ignored"},
      {"\0332 25x", "Ignored"},
      {"\033225\r\n", "Speed 25"},
      {"\03330", "Tone"},
      {"\03334000", "Tone 4000"},
      {"\03334001", "Ignored"},
      {"\0334", "Abort"},
      {"\0335", "Exit"},
      {"\0336", "WordMode"},
      {"\0337-50", "Weight -50"},
      {"\033750", "Weight 50"},
      {"\033751", "Ignored"},
      {"\0338null", "Accepted 'null'"},
      {"\03396789", "Accepted '6789'"},
      {"\033a1", "Ptt 1"},
      {"\033a0", "Ptt"},
      {"\033a2", "Ignored"},
      {"\033b1", "Accepted 1"},
      {"\033b2", "Ignored"},
      {"\033c10", "Tune 10"},
      {"\033c0", "Tune"},
      {"\033c11", "Ignored"},
      {"\033d20", "PttDelay 20"},
      {"\033d999", "PttDelay 50"},
      {"\033d-1", "Ignored"},
      {"\033e1001", "Accepted '1001'"},
      {"\033fn", "Accepted 'n'"},
      {"\033g100", "Accepted 100"},
      {"\033g101", "Ignored"},
      {"\033hcat", "ReplyNext 'cat'"},
      {"\033h", "ReplyNext"},
      {"\033z", "Ignored"},
      {"\033", "Ignored"},
      {"", "Ignored"},
      {"\r\n", "Ignored"},
      {"~", "Ignored"},
      {"\x01\x02", "Ignored"},
      {"\t", "Ignored"},
      {std::string(257, 'E'), "Ignored"},
      {std::string(256, 'E'), "Text T:" + std::string(256, 'E')},
      {"cq de ja1zzz\r\n", "Text T:cq de ja1zzz"},
      {"qrz de pa0rct ++test--", "Text T:qrz de pa0rct  S:4 T:test S:-4"},
      {"5NN+-1", "Text T:5NN S:0 T:1"},
      {"TU*", "Text T:TU T:~AR"},
      {"=<(!&>", "Text T:~BT T:~SK T:~KN T:~SN T:~AS T:~BK"},
      {"*K", "Text T:~AR T:K"},
      {"d~l~2", "Text T:dl2"},
      {"AB\x08", "Text T:A"},
      {"*\x08K", "Text T:K"},
      {"\x08\x08X", "Text E E T:X"},
      {"A\tB\x01\x7F", "Text T:AB"},
      {"\xb1\xb2", "Text T:\xb1\xb2"},
      {"TEST^", "Text 'TEST' T:TEST echo"},
      {"OK^ignored", "Text 'OK' T:OK echo"},
      {"TU *^", "Text 'TU +' T:TU  T:~AR echo"},
      {"^", "Text echo"}};
  for (const auto& [datagram, action] : cases)
    EXPECT_EQ(Show(ParseRequest(datagram)), action) << datagram;
}

}  // namespace
}  // namespace vantrel::netkeyer
