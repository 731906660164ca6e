#include <string>

#include "operating/operating_logic.h"

namespace vantrel::operating {
namespace {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool StartsWithProsign(const std::string& text) {
  return text.size() > 2 && text[0] == '~';
}

// Everything a status report can change; the view and the engine are touched only along with it.
struct PacingState {
  std::string pendingText;
  Pacer pacer;
  CqRepeat cqRepeat;

  PacingState(const SendState& send, const Pacer& pace, const CqRepeat& repeat)
      : pendingText(send.PendingText), pacer(pace), cqRepeat(repeat) {}
  bool operator==(const PacingState&) const = default;
};

}  // namespace

std::size_t FirstCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  return IsLeadByte(static_cast<unsigned char>(text.front())) && text.size() > 1 ? 2 : 1;
}

void OperatingLogic::OnStatus(int bufferState) {
  const SendState& send = WakeForSendState();
  const PacingState before(send, pacer_, cqRepeat_);
  Pace(bufferState);
  // The same report again would change nothing either, until something else does.
  if (statusGate_ != nullptr && PacingState(send, pacer_, cqRepeat_) == before) statusGate_->Rest();
}

void OperatingLogic::Pace(int bufferState) {
  const std::string& pending = WakeForSendState().PendingText;
  const Pacer::Turn turn = WakeForPacer().Report(bufferState);
  if (turn == Pacer::Turn::Wait) return;
  if (Pacer::LostText(turn, bufferState, !pending.empty())) StopTransmission();
  if (Pacer::HasRoom(bufferState)) {
    // A prosign mark and its two letters go together so that the engine can merge them.
    if (StartsWithProsign(pending)) {
      FeedNextCharacter();
      FeedNextCharacter();
    }
    FeedNextCharacter();
  }
  WakeForPacer().EndReport(bufferState);
  // Speed changes behind the last character take effect once it has been keyed.
  if (bufferState == Pacer::kIdleBuffer && pending.empty()) ApplyDueSpeedMarks();
}

void OperatingLogic::FeedNextCharacter() {
  SendState& send = WakeForSendState();
  PassCharactersWithoutCode();
  if (send.PendingText.empty()) return RepeatStep();
  if (WakeForPacer().HandOver()) keyer_.ClearBuffer();
  ApplyDueSpeedMarks();
  keyer_.SendText(send.PendingText.substr(0, 1));
  TakeFrontByte();
  // Those right behind go with it, so that an idle report cannot find only them queued.
  PassCharactersWithoutCode();
}

// The interface keys nothing for a character without a code and would fall idle with the rest
// of the queue still waiting, so such a character is never handed over: it only goes to the log.
void OperatingLogic::PassCharactersWithoutCode() {
  const std::string& pending = WakeForSendState().PendingText;
  while (!pending.empty() && !keyer_.HasCode(pending.front())) TakeFrontByte();
}

// One byte goes per hand-over. A trail byte can look like a lead byte on its own, so which of
// the two the front byte is gets remembered, and the input line gives the whole character to
// the log with its trail byte.
void OperatingLogic::TakeFrontByte() {
  SendState& send = WakeForSendState();
  const bool leadByte = !send.TrailByteNext && FirstCharacterLength(send.PendingText) == 2;
  send.PendingText.erase(0, 1);
  ShiftSpeedMarks(1);
  send.TrailByteNext = leadByte;
  if (Sequential() && !leadByte) MoveFirstInputCharacterToLog();
}

void OperatingLogic::MoveFirstInputCharacterToLog() {
  std::string input = view_.InputLineText();
  if (input.empty()) return;
  const std::size_t length = FirstCharacterLength(input);
  view_.InsertAtLogEnd(input.substr(0, length));
  view_.SetInputLineText(input.erase(0, length));
  view_.ShowLogEnd();
}

}  // namespace vantrel::operating
