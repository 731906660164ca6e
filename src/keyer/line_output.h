#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "keyer/pc_keyer.h"
#include "keyer/protocol.h"

namespace vantrel::keyer {

// The interface's output lines as the PC-timed keying sets them, and the value last written to
// the interface: the reader answers an input report with the lines only when they changed.
class LineOutput final : public KeyLines {
 public:
  // Told every new value; for measuring.
  void SetObserver(std::function<void(std::uint8_t lines)> observer) {
    observer_ = std::move(observer);
  }
  void SetKey(bool down) override { Set(WithLine(lines_, kKeyLine, down)); }
  void SetPtt(bool on) override { Set(WithLine(lines_, kPttLine, on)); }
  void Release() override { Set(kLinesAtRest); }

  std::uint8_t Lines() const { return lines_; }
  // Whether the lines differ from those last written; from now on they count as written.
  bool TakeUnwritten() {
    if (lines_ == written_) return false;
    written_ = lines_;
    return true;
  }
  // A newly opened interface has been written nothing yet.
  void ForgetWritten() { written_ = 0; }

 private:
  void Set(std::uint8_t lines) {
    if (lines == lines_) return;
    lines_ = lines;
    if (observer_) observer_(lines);
  }

  std::function<void(std::uint8_t lines)> observer_;
  std::uint8_t lines_ = kLinesAtRest;
  std::uint8_t written_ = 0;
};

}  // namespace vantrel::keyer
