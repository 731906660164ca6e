#include "sim/transmitter.h"

namespace vantrel::sim {

void Transmitter::Set(Line line, bool on, platform::Micros at) {
  bool& state = line == Line::Key ? key_ : ptt_;
  if (state == on) return;
  state = on;
  recorder_.Transition({at, line, on});
  if (line == Line::Key && keyListener_) keyListener_(on);
}

void Transmitter::ReleaseAll(platform::Micros at) {
  Set(Line::Key, false, at);
  Set(Line::Ptt, false, at);
}

}  // namespace vantrel::sim
