#include "operating/pacer.h"

#include <algorithm>
#include <utility>

#include "keyer/keyer_messages.h"
#include "operating/macro_expander.h"

namespace vantrel::operating {
namespace {

// A report with an input line active also brings paddle or input messages, which must keep
// their order after its status.
constexpr std::intptr_t kNoInputs = 0x0F;

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool StartsWithProsign(const std::string& text) {
  return text.size() > 2 && text[0] == '~';
}

bool HasRoom(int bufferState) {
  return bufferState < 2 || bufferState == Pacer::kIdleBuffer;
}

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

std::size_t FirstCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  return IsLeadByte(static_cast<unsigned char>(text.front())) && text.size() > 1 ? 2 : 1;
}

SendState& Pacer::Send() {
  context_.Wake();
  return send_;
}

void Pacer::HandOver(const std::string& text) {
  if (context_.KeyerTimesCharacters()) {
    Send().PendingText += text;
  } else {
    textPlaying_ = true;
    context_.keyer.SendText(text);
  }
}

bool Pacer::Pace::operator==(const Pace&) const = default;

Pacer::Pace Pacer::Now() const {
  return {send_.PendingText, countdown_, clearBeforeNext_, cqRepeat_.State()};
}

void Pacer::OnStatus(int bufferState) {
  context_.Wake();
  const Pace before = Now();
  PaceOn(bufferState);
  // The same report again would change nothing either, until something else does.
  if (context_.gate != nullptr && Now() == before) context_.gate->Rest();
}

Pacer::Turn Pacer::Report(int bufferState) {
  context_.Wake();
  lastBufferState_ = bufferState;
  if (--countdown_ > 0) return Turn::Wait;
  const Turn turn = countdown_ == 0 ? Turn::WaitOver : Turn::Free;
  countdown_ = 0;
  return turn;
}

void Pacer::PaceOn(int bufferState) {
  const std::string& pending = Send().PendingText;
  const Turn turn = Report(bufferState);
  if (turn == Turn::Wait) return;
  if (turn == Turn::WaitOver && bufferState == kIdleBuffer && !pending.empty()) lost_();
  if (HasRoom(bufferState)) {
    // A prosign mark and its two letters go together so that the engine can merge them.
    if (StartsWithProsign(pending)) {
      FeedNextCharacter();
      FeedNextCharacter();
    }
    FeedNextCharacter();
  }
  // An idle interface handed nothing on this report has its buffer cleared before the next
  // hand-over.
  context_.Wake();
  if (bufferState == kIdleBuffer && countdown_ == 0) clearBeforeNext_ = true;
  // Speed changes behind the last character take effect once it has been keyed.
  if (bufferState == kIdleBuffer && pending.empty()) ApplyDueSpeedMarks();
}

void Pacer::FeedNextCharacter() {
  SendState& send = Send();
  PassCharactersWithoutCode();
  if (send.PendingText.empty()) return cqRepeat_.CallHandedOver();
  context_.Wake();
  countdown_ = kPaceReports;
  if (std::exchange(clearBeforeNext_, false)) context_.keyer.ClearBuffer();
  ApplyDueSpeedMarks();
  context_.keyer.SendText(send.PendingText.substr(0, 1));
  TakeFrontByte();
  // Those right behind go with it, so that an idle report cannot find only them queued.
  PassCharactersWithoutCode();
}

// The interface keys nothing for a character without a code and would fall idle with the rest
// of the queue still waiting, so such a character is never handed over: it only goes to the log.
void Pacer::PassCharactersWithoutCode() {
  const std::string& pending = Send().PendingText;
  while (!pending.empty() && !context_.keyer.HasCode(pending.front())) TakeFrontByte();
}

// One byte goes per hand-over. A trail byte can look like a lead byte on its own, so which of
// the two the front byte is gets remembered, and the input line gives the whole character to
// the log with its trail byte.
void Pacer::TakeFrontByte() {
  SendState& send = Send();
  const bool leadByte = !send.TrailByteNext && FirstCharacterLength(send.PendingText) == 2;
  send.PendingText.erase(0, 1);
  for (SpeedMark& mark : send.PendingSpeedMarks)
    mark.position -= std::min<std::size_t>(mark.position, 1);
  send.TrailByteNext = leadByte;
  if (context_.Sequential() && !leadByte) MoveFirstInputCharacterToLog();
}

void Pacer::MoveFirstInputCharacterToLog() {
  OperatingView& view = context_.view;
  std::string input = view.InputLineText();
  if (input.empty()) return;
  const std::size_t length = FirstCharacterLength(input);
  view.InsertAtLogEnd(input.substr(0, length));
  view.SetInputLineText(input.erase(0, length));
  view.ShowLogEnd();
}

void Pacer::ApplyDueSpeedMarks() {
  std::vector<SpeedMark>& marks = Send().PendingSpeedMarks;
  while (!marks.empty() && marks.front().position == 0) {
    speed_.Apply(static_cast<int>(context_.Fields().WPM) + marks.front().wpmStep);
    marks.erase(marks.begin());
  }
}

void Pacer::OnTextDone() {
  textPlaying_ = false;
  ReleaseHeldText();
}

void Pacer::Drop() {
  SendState& send = Send();
  send.PendingText.clear();
  send.TrailByteNext = false;
  send.PendingSpeedMarks.clear();
}

void Pacer::Stop() {
  Drop();
  Send().HeldNetworkText.clear();
  textPlaying_ = false;
  context_.Wake();
  countdown_ = 0;
  clearBeforeNext_ = false;
}

bool Pacer::Keyed() const {
  if (!context_.KeyerTimesCharacters()) return !textPlaying_ && send_.HeldNetworkText.empty();
  return send_.PendingText.empty() && countdown_ <= 0 && lastBufferState_ == kIdleBuffer;
}

void Pacer::Queue(const NetworkText& text, std::string& shown) {
  for (const TextPiece& piece : text) QueuePiece(piece, shown);
}

void Pacer::QueuePiece(const TextPiece& piece, std::string& shown) {
  SendState& send = Send();
  if (piece.kind == TextPiece::Kind::Erase) return EraseLastQueued(shown);
  if (piece.kind == TextPiece::Kind::Text) shown += WithoutProsignMarks(piece.text);
  if (!context_.KeyerTimesCharacters()) return QueueHeldPiece(piece);
  if (piece.kind == TextPiece::Kind::Text) {
    send.PendingText += piece.text;
  } else if (send.PendingText.empty()) {
    speed_.Apply(static_cast<int>(context_.Fields().WPM) + piece.wpmStep);
  } else {
    send.PendingSpeedMarks.push_back({send.PendingText.size(), piece.wpmStep});
  }
}

// The PC times older firmware's text at the speed of the moment, so network text waits
// until the text before it has been played: a speed change then holds for what follows.
void Pacer::QueueHeldPiece(const TextPiece& piece) {
  SendState& send = Send();
  if (textPlaying_ || !send.HeldNetworkText.empty()) {
    send.HeldNetworkText.push_back(piece);
    return;
  }
  if (piece.kind == TextPiece::Kind::Text) {
    HandOver(piece.text);
  } else {
    speed_.Apply(static_cast<int>(context_.Fields().WPM) + piece.wpmStep);
  }
}

void Pacer::ReleaseHeldText() {
  NetworkText held = std::move(Send().HeldNetworkText);
  Send().HeldNetworkText.clear();
  for (const TextPiece& piece : held) QueueHeldPiece(piece);
}

void Pacer::EraseLastQueued(std::string& shown) {
  SendState& send = Send();
  std::string* queued = &send.PendingText;
  if (!context_.KeyerTimesCharacters()) {
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
  } else if (context_.Sequential()) {
    std::string input = context_.view.InputLineText();
    if (!input.empty()) EraseLastCharacter(input);
    context_.view.SetInputLineText(input);
  }
}

void StatusCoalescer::Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  if (message == WM_KEYER_STATUS && HoldBack(wParam, lParam)) return;
  window_.Post(message, wParam, lParam);
}

bool StatusCoalescer::HoldBack(std::intptr_t wParam, std::intptr_t lParam) {
  std::lock_guard lock(mutex_);
  const bool repeat = wParam == lastWParam_ && lParam == lastLParam_;
  if (resting_ && repeat && lParam == kNoInputs) {
    heldBack_ = true;
    return true;
  }
  heldBack_ = false;
  lastWParam_ = wParam;
  lastLParam_ = lParam;
  return false;
}

// Only the window's thread writes `resting_`, so it may read it without the lock; the window
// calls Wake at every change of its state and must not queue behind the reader for it.
void StatusCoalescer::Rest() {
  if (resting_) return;
  std::lock_guard lock(mutex_);
  resting_ = true;
}

void StatusCoalescer::Wake() {
  if (!resting_) return;
  std::lock_guard lock(mutex_);
  resting_ = false;
  if (!heldBack_) return;
  heldBack_ = false;
  // Posted under the lock: a newer report that passes has either cleared `heldBack_` already
  // or is posted after this re-delivery, never before it.
  window_.Post(WM_KEYER_STATUS, lastWParam_, lastLParam_);
}

}  // namespace vantrel::operating
