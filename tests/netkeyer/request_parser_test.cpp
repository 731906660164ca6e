#include <gtest/gtest.h>

#include <string>

#include "netkeyer/request.h"
#include "settings/data_table.h"

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
  for (const auto& row : ReadTable(VANTREL_NETKEYER_DATA_DIR "/requests.txt"))
    EXPECT_EQ(Show(ParseRequest(row[0])), row[1]) << row[0];
}

}  // namespace
}  // namespace vantrel::netkeyer
