#pragma once

#include <functional>

#include "platform/timer.h"
#include "sim/line_transition.h"
#include "sim/recorder.h"

namespace vantrel::sim {

// The key and PTT lines as the radio sees them; records every change. Not locked.
class Transmitter {
 public:
  explicit Transmitter(Recorder& recorder) : recorder_(recorder) {}

  void Set(Line line, bool on, platform::Micros at);
  bool IsOn(Line line) const { return line == Line::Key ? key_ : ptt_; }
  void ReleaseAll(platform::Micros at);
  void SetKeyListener(std::function<void(bool down)> listener) {
    keyListener_ = std::move(listener);
  }

 private:
  Recorder& recorder_;
  bool key_ = false;
  bool ptt_ = false;
  std::function<void(bool down)> keyListener_;
};

}  // namespace vantrel::sim
