#pragma once

namespace vantrel::operating {

// The pace at which queued text goes to the interface, one hand-over at a time against its
// status reports. After a hand-over three reports pass before the next may go; the interface
// takes more when it holds fewer than two characters or is idle. Idle on the third report
// with text still queued means it lost what it was given.
class Pacer {
 public:
  static constexpr int kIdleBuffer = 15;

  enum class Turn {
    Wait,      // reports are still to pass since the last hand-over
    WaitOver,  // this is the last report waited for
    Free,      // nothing was waited for
  };

  static bool HasRoom(int bufferState) { return bufferState < 2 || bufferState == kIdleBuffer; }
  static bool LostText(Turn turn, int bufferState, bool textQueued) {
    return turn == Turn::WaitOver && bufferState == kIdleBuffer && textQueued;
  }

  // A status report with the interface's buffer state.
  Turn Report(int bufferState) {
    lastBufferState_ = bufferState;
    if (--countdown_ > 0) return Turn::Wait;
    const Turn turn = countdown_ == 0 ? Turn::WaitOver : Turn::Free;
    countdown_ = 0;
    return turn;
  }
  // An idle interface handed nothing on this report has its buffer cleared before the next
  // hand-over.
  void EndReport(int bufferState) {
    if (bufferState == kIdleBuffer && countdown_ == 0) clearBeforeNext_ = true;
  }
  // A character goes now; whether the interface's buffer is to be cleared first.
  bool HandOver() {
    countdown_ = kPaceReports;
    const bool clear = clearBeforeNext_;
    clearBeforeNext_ = false;
    return clear;
  }
  // The sending stopped: the next text starts without waiting.
  void Reset() {
    countdown_ = 0;
    clearBeforeNext_ = false;
  }
  // No report is waited for and the last one found the interface idle.
  bool Settled() const { return countdown_ <= 0 && lastBufferState_ == kIdleBuffer; }

  // The same pace, whatever buffer state the last report brought.
  bool operator==(const Pacer& other) const {
    return countdown_ == other.countdown_ && clearBeforeNext_ == other.clearBeforeNext_;
  }

 private:
  static constexpr int kPaceReports = 3;

  int countdown_ = 0;
  bool clearBeforeNext_ = false;
  int lastBufferState_ = kIdleBuffer;
};

}  // namespace vantrel::operating
