#include <algorithm>

#include "operating/macro_expander.h"
#include "operating/operating_logic.h"

namespace vantrel::operating {
namespace {

// Bytes of the last CP932 character of `text`.
std::size_t LastCharacterLength(std::string_view text) {
  std::size_t at = 0;
  std::size_t length = 0;
  while (at < text.size()) {
    length = FirstCharacterLength(text.substr(at));
    at += length;
  }
  return length;
}

void EraseLastCharacter(std::string& text) {
  text.resize(text.size() - LastCharacterLength(text));
}

}  // namespace

void OperatingLogic::QueueNetworkText(const NetworkText& text) {
  ReconnectIfClosed();
  if (WakeForCqRepeat().Active()) EndCqRepeat();
  view_.ReadControls();
  std::string shown;
  for (const TextPiece& piece : text) QueuePiece(piece, shown);
  if (shown.empty()) return;
  AppendTimeStamp();
  if (Sequential()) {
    view_.SetInputLineText(view_.InputLineText() + shown);
  } else {
    LogLine(shown);
  }
}

void OperatingLogic::QueuePiece(const TextPiece& piece, std::string& shown) {
  SendState& send = WakeForSendState();
  if (piece.kind == TextPiece::Kind::Erase) return EraseLastQueued(shown);
  if (piece.kind == TextPiece::Kind::Text) shown += WithoutProsignMarks(piece.text);
  if (!KeyerTimesCharacters()) return QueueHeldPiece(piece);
  if (piece.kind == TextPiece::Kind::Text) {
    send.PendingText += piece.text;
  } else if (send.PendingText.empty()) {
    ApplyWpm(static_cast<int>(Fields().WPM) + piece.wpmStep);
  } else {
    send.PendingSpeedMarks.push_back({send.PendingText.size(), piece.wpmStep});
  }
}

// The PC times older firmware's text at the speed of the moment, so network text waits
// until the text before it has been played: a speed change then holds for what follows.
void OperatingLogic::QueueHeldPiece(const TextPiece& piece) {
  SendState& send = WakeForSendState();
  if (textPlaying_ || !send.HeldNetworkText.empty()) {
    send.HeldNetworkText.push_back(piece);
    return;
  }
  if (piece.kind == TextPiece::Kind::Text) {
    HandOver(piece.text);
  } else {
    ApplyWpm(static_cast<int>(Fields().WPM) + piece.wpmStep);
  }
}

void OperatingLogic::ReleaseHeldText() {
  NetworkText held = std::move(WakeForSendState().HeldNetworkText);
  WakeForSendState().HeldNetworkText.clear();
  for (const TextPiece& piece : held) QueueHeldPiece(piece);
}

void OperatingLogic::EraseLastQueued(std::string& shown) {
  SendState& send = WakeForSendState();
  std::string* queued = &send.PendingText;
  if (!KeyerTimesCharacters()) {
    NetworkText& held = send.HeldNetworkText;
    if (held.empty() || held.back().kind != TextPiece::Kind::Text) return;
    queued = &held.back().text;
  }
  if (queued->empty()) return;
  EraseLastCharacter(*queued);
  for (SpeedMark& mark : send.PendingSpeedMarks) {
    mark.position = std::min(mark.position, send.PendingText.size());
  }
  if (!shown.empty()) {
    EraseLastCharacter(shown);
  } else if (Sequential()) {
    std::string input = view_.InputLineText();
    if (!input.empty()) EraseLastCharacter(input);
    view_.SetInputLineText(input);
  }
}

bool OperatingLogic::QueuedTextKeyed() const {
  if (!KeyerTimesCharacters()) return !textPlaying_ && send_.HeldNetworkText.empty();
  return send_.PendingText.empty() && pacer_.Settled();
}

}  // namespace vantrel::operating
