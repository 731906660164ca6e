#include <algorithm>

#include "operating/cp932_character.h"
#include "operating/macro_expander.h"
#include "operating/operating_logic.h"
#include "operating/speed_report.h"

namespace vantrel::operating {
namespace {

constexpr int kIdleBuffer = 15;

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
  if (Fields().CqRepeatCount != 0) EndCqRepeat();
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
  WindowFields& fields = Fields();
  if (piece.kind == TextPiece::Kind::Erase) return EraseLastQueued(shown);
  if (piece.kind == TextPiece::Kind::Text) shown += WithoutProsignMarks(piece.text);
  if (!KeyerTimesCharacters()) return QueueHeldPiece(piece);
  if (piece.kind == TextPiece::Kind::Text) {
    fields.PendingText += piece.text;
  } else if (fields.PendingText.empty()) {
    ApplyWpm(static_cast<int>(fields.WPM) + piece.wpmStep);
  } else {
    fields.PendingSpeedMarks.push_back({fields.PendingText.size(), piece.wpmStep});
  }
}

// The PC times older firmware's text at the speed of the moment, so network text waits
// until the text before it has been played: a speed change then holds for what follows.
void OperatingLogic::QueueHeldPiece(const TextPiece& piece) {
  WindowFields& fields = Fields();
  if (textPlaying_ || !fields.HeldNetworkText.empty()) {
    fields.HeldNetworkText.push_back(piece);
    return;
  }
  if (piece.kind == TextPiece::Kind::Text) {
    HandOver(piece.text);
  } else {
    ApplyWpm(static_cast<int>(fields.WPM) + piece.wpmStep);
  }
}

void OperatingLogic::ReleaseHeldText() {
  NetworkText held = std::move(Fields().HeldNetworkText);
  Fields().HeldNetworkText.clear();
  for (const TextPiece& piece : held) QueueHeldPiece(piece);
}

void OperatingLogic::EraseLastQueued(std::string& shown) {
  WindowFields& fields = Fields();
  std::string* queued = &fields.PendingText;
  if (!KeyerTimesCharacters()) {
    NetworkText& held = fields.HeldNetworkText;
    if (held.empty() || held.back().kind != TextPiece::Kind::Text) return;
    queued = &held.back().text;
  }
  if (queued->empty()) return;
  EraseLastCharacter(*queued);
  for (SpeedMark& mark : fields.PendingSpeedMarks) {
    mark.position = std::min(mark.position, fields.PendingText.size());
  }
  if (!shown.empty()) {
    EraseLastCharacter(shown);
  } else if (Sequential()) {
    std::string input = view_.InputLineText();
    if (!input.empty()) EraseLastCharacter(input);
    view_.SetInputLineText(input);
  }
}

void OperatingLogic::SetNetworkSpeed(unsigned wpm) {
  ApplyWpm(static_cast<int>(wpm));
}

void OperatingLogic::ApplyWpm(int wpm) {
  view_.ReadControls();
  Fields().WPM =
      static_cast<unsigned>(std::clamp(wpm, static_cast<int>(kMinWpm), static_cast<int>(kMaxWpm)));
  view_.SetSpinPosition(Fields().WPM);
}

void OperatingLogic::ApplyDueSpeedMarks() {
  std::vector<SpeedMark>& marks = Fields().PendingSpeedMarks;
  while (!marks.empty() && marks.front().position == 0) {
    ApplyWpm(static_cast<int>(Fields().WPM) + marks.front().wpmStep);
    marks.erase(marks.begin());
  }
}

void OperatingLogic::ShiftSpeedMarks(std::size_t handedOver) {
  for (SpeedMark& mark : Fields().PendingSpeedMarks) {
    mark.position -= std::min(mark.position, handedOver);
  }
}

bool OperatingLogic::QueuedTextKeyed() const {
  const WindowFields& fields = view_.Fields();
  if (!KeyerTimesCharacters()) return !textPlaying_ && fields.HeldNetworkText.empty();
  return fields.PendingText.empty() && fields.PaceCountdown <= 0 && lastBufferState_ == kIdleBuffer;
}

}  // namespace vantrel::operating
