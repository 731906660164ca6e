#include <string>

#include "operating/cp932_character.h"
#include "operating/operating_logic.h"

namespace vantrel::operating {
namespace {

constexpr int kIdleBuffer = 15;
// Status reports to wait after a hand-over before the next one may go.
constexpr int kPaceReports = 3;

bool StartsWithProsign(const std::string& text) {
  return text.size() > 2 && text[0] == '~';
}

// Everything a status report can change; the view and the engine are touched only along with it.
struct PacingState {
  std::string pendingText;
  int paceCountdown;
  bool clearBeforeNext;
  int cqRepeatCount;
  bool cqTimer;

  explicit PacingState(const WindowFields& fields)
      : pendingText(fields.PendingText),
        paceCountdown(fields.PaceCountdown),
        clearBeforeNext(fields.ClearBeforeNext),
        cqRepeatCount(fields.CqRepeatCount),
        cqTimer(fields.CqTimer) {}
  bool operator==(const PacingState&) const = default;
};

}  // namespace

void OperatingLogic::OnStatus(int bufferState) {
  WindowFields& fields = Fields();
  const PacingState before(fields);
  lastBufferState_ = bufferState;
  Pace(bufferState);
  // The same report again would change nothing either, until something else does.
  if (statusGate_ != nullptr && PacingState(fields) == before) statusGate_->Rest();
}

void OperatingLogic::Pace(int bufferState) {
  WindowFields& fields = Fields();
  if (--fields.PaceCountdown > 0) return;
  // Idle on the third report with text still queued: the interface lost what it was given.
  if (bufferState == kIdleBuffer && fields.PaceCountdown == 0 && !fields.PendingText.empty()) {
    StopTransmission();
  }
  if (fields.PaceCountdown < 0) fields.PaceCountdown = 0;
  if (bufferState < 2 || bufferState == kIdleBuffer) {
    // A prosign mark and its two letters go together so that the engine can merge them.
    if (StartsWithProsign(fields.PendingText)) {
      FeedNextCharacter();
      FeedNextCharacter();
    }
    FeedNextCharacter();
  }
  if (bufferState == kIdleBuffer && fields.PaceCountdown == 0) fields.ClearBeforeNext = true;
  // Speed changes behind the last character take effect once it has been keyed.
  if (bufferState == kIdleBuffer && fields.PendingText.empty()) ApplyDueSpeedMarks();
}

void OperatingLogic::FeedNextCharacter() {
  WindowFields& fields = Fields();
  if (fields.PendingText.empty()) return RepeatStep();
  fields.PaceCountdown = kPaceReports;
  if (fields.ClearBeforeNext) {
    fields.ClearBeforeNext = false;
    keyer_.ClearBuffer();
  }
  ApplyDueSpeedMarks();
  // One byte goes per hand-over. A trail byte can look like a lead byte on its own, so which
  // of the two the front byte is gets remembered, and the input line gives the whole character
  // to the log with its trail byte.
  const bool leadByte = !fields.TrailByteNext && FirstCharacterLength(fields.PendingText) == 2;
  keyer_.SendText(fields.PendingText.substr(0, 1));
  fields.PendingText.erase(0, 1);
  ShiftSpeedMarks(1);
  fields.TrailByteNext = leadByte;
  if (Sequential() && !leadByte) MoveFirstInputCharacterToLog();
}

void OperatingLogic::MoveFirstInputCharacterToLog() {
  std::string input = view_.InputLineText();
  if (input.empty()) return;
  const std::size_t length = FirstCharacterLength(input);
  Fields().LogText += input.substr(0, length);
  view_.SetInputLineText(input.erase(0, length));
  view_.RefreshControls();
  view_.ShowLogEnd();
}

}  // namespace vantrel::operating
