#pragma once

#include "platform/timer.h"

namespace vantrel::sim {

// The two lines the interface drives at the transmitter.
enum class Line { Key, Ptt };

struct LineTransition {
  platform::Micros at = 0;
  Line line = Line::Key;
  bool on = false;
  bool operator==(const LineTransition&) const = default;
};

}  // namespace vantrel::sim
