#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "operating/cq_repeat.h"
#include "operating/network_text.h"
#include "operating/operating_context.h"
#include "operating/speed.h"
#include "platform/target_window.h"

namespace vantrel::operating {

// Bytes of the first CP932 character of `text`: 2 for a lead byte followed by another byte,
// 1 otherwise, 0 for empty text. Keeps a double-byte character together when text is
// handed over or moved one character at a time.
std::size_t FirstCharacterLength(std::string_view text);

// What is queued for the interface.
struct SendState {
  std::string PendingText;
  // The front byte of PendingText is the trail byte of a double-byte character.
  bool TrailByteNext = false;
  // Speed changes a network client placed between characters of PendingText, in order.
  std::vector<SpeedMark> PendingSpeedMarks;
  // Older firmware: network text held back behind a speed change until the text before it
  // has been played.
  NetworkText HeldNetworkText;
};

// The text queued for the interface and the pace at which it goes, one hand-over at a time
// against the interface's status reports. After a hand-over three reports pass before the next
// may go; the interface takes more when it holds fewer than two characters or is idle. Idle on
// the third report with text still queued means it lost what it was given. Older firmware is
// handed whole texts and says when it has played them.
class Pacer {
 public:
  static constexpr int kIdleBuffer = 15;

  // `lost` stops the sending when the interface lost what it was given.
  Pacer(OperatingContext& context, Speed& speed, CqRepeat& cqRepeat, std::function<void()> lost)
      : context_(context), speed_(speed), cqRepeat_(cqRepeat), lost_(std::move(lost)) {}

  const SendState& State() const { return send_; }

  // Typed or prepared text, with its prosign marks.
  void HandOver(const std::string& text);
  // Text from a network client; what it shows is added to `shown`.
  void Queue(const NetworkText& text, std::string& shown);
  // A status report with the interface's buffer state.
  void OnStatus(int bufferState);
  // One hand-over, as a status report with room in the interface's buffer gives it.
  void FeedNextCharacter();
  // Older firmware played the text it was given.
  void OnTextDone();
  // PendingText and the speed changes placed in it.
  void Drop();
  // The sending stopped: nothing is queued or held, and the next text starts without waiting.
  void Stop();
  // Nothing queued is left and the interface has keyed what it was given.
  bool Keyed() const;

 private:
  enum class Turn {
    Wait,      // reports are still to pass since the last hand-over
    WaitOver,  // this is the last report waited for
    Free,      // nothing was waited for
  };
  static constexpr int kPaceReports = 3;

  // Everything a status report can change, compared before and after it.
  struct Pace {
    std::string pendingText;
    int countdown = 0;
    bool clearBeforeNext = false;
    CqRepeat::Progress cqRepeat;
    bool operator==(const Pace&) const;
  };
  Pace Now() const;

  SendState& Send();
  Turn Report(int bufferState);
  void PaceOn(int bufferState);
  void PassCharactersWithoutCode();
  void TakeFrontByte();
  void MoveFirstInputCharacterToLog();
  void ApplyDueSpeedMarks();
  void QueuePiece(const TextPiece& piece, std::string& shown);
  void QueueHeldPiece(const TextPiece& piece);
  void ReleaseHeldText();
  void EraseLastQueued(std::string& shown);

  OperatingContext& context_;
  Speed& speed_;
  CqRepeat& cqRepeat_;
  std::function<void()> lost_;
  SendState send_;
  int countdown_ = 0;
  bool clearBeforeNext_ = false;
  int lastBufferState_ = kIdleBuffer;
  // Older firmware: text handed to the engine has not been played to its end yet.
  bool textPlaying_ = false;
};

// Stands between the engine and the window's message queue so that an idle window is not woken
// by every status report. While the window rests, a WM_KEYER_STATUS equal to the last one passed
// on, with no input line active, is held back; waking passes the last held-back one on. Other
// messages always pass. Post may come from any thread; Rest and Wake from the window's thread.
class StatusCoalescer final : public platform::TargetWindow, public StatusGate {
 public:
  explicit StatusCoalescer(platform::TargetWindow& window) : window_(window) {}

  void Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;
  void Rest() override;
  void Wake() override;

 private:
  bool HoldBack(std::intptr_t wParam, std::intptr_t lParam);

  platform::TargetWindow& window_;
  std::mutex mutex_;
  bool resting_ = false;
  bool heldBack_ = false;
  // No buffer state is negative, so nothing repeats before the first report has passed.
  std::intptr_t lastWParam_ = -1;
  std::intptr_t lastLParam_ = 0;
};

}  // namespace vantrel::operating
