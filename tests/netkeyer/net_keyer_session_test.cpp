#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netkeyer/net_keyer_session.h"
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

// Records each request, each reply and each change of the client's keying as one line; the queue
// is keyed when the test says so.
struct SessionRig final : KeyingTarget {
  void QueueText(const operating::NetworkText& text) override {
    std::string line = "text";
    for (const operating::TextPiece& piece : text) line += " " + piece.text;
    log.push_back(line);
    keyed = false;
  }
  void Abort() override {
    log.push_back("abort");
    keyed = true;
  }
  void SetSpeed(unsigned wpm) override { log.push_back("speed " + std::to_string(wpm)); }
  void SetPtt(bool on) override { log.push_back(on ? "ptt 1" : "ptt 0"); }
  void SetWeight(int weight) override { log.push_back("weight " + std::to_string(weight)); }
  void SetTone(unsigned hz) override { log.push_back("tone " + std::to_string(hz)); }
  void SetPttLeadIn(unsigned ms) override { log.push_back("lead-in " + std::to_string(ms)); }
  void Tune(unsigned seconds) override { log.push_back("tune " + std::to_string(seconds)); }
  void Reset() override { log.push_back("reset"); }
  bool QueuedTextKeyed() const override { return keyed; }
  // An empty datagram stands for the keyer having keyed the queued text.
  std::vector<std::string> Step(const std::string& datagram) {
    const bool wasKeying = session.ClientKeying();
    if (datagram.empty()) {
      keyed = true;
      session.OnKeyerProgress();
    } else {
      session.OnDatagram(datagram, from);
    }
    if (session.ClientKeying() != wasKeying) log.push_back(wasKeying ? "keying off" : "keying on");
    return std::exchange(log, {});
  }

  std::vector<std::string> log;
  bool keyed = true;
  PeerAddress from{.length = 1};
  NetKeyerSession session{*this, [this](const PeerAddress&, std::string_view bytes) {
                            log.push_back("reply " + std::string(bytes));
                          }};
};

TEST(NetKeyerSession, RequestsActAndRepliesFollowTheKeying) {
  SessionRig rig;
  for (auto row : ReadTable(VANTREL_NETKEYER_DATA_DIR "/session_steps.txt")) {
    const std::string datagram = row[0];
    row.erase(row.begin());
    std::erase(row, "");
    EXPECT_EQ(rig.Step(datagram), row) << datagram;
  }
}

}  // namespace
}  // namespace vantrel::netkeyer
