#include "sim/recorder.h"

namespace vantrel::sim {

void Recorder::Command(platform::Micros at, const Report& command) {
  if (keepHistory_) commands_.push_back({at, command});
  if (log_) log_->Out(at, command);
}

void Recorder::Transition(const LineTransition& transition) {
  if (keepHistory_) transitions_.push_back(transition);
  if (log_) log_->Transition(transition);
}

void Recorder::Input(platform::Micros at, const Report& report) {
  if (log_) log_->In(at, report);
}

void Recorder::Event(platform::Micros at, std::string_view text) {
  if (log_) log_->Event(at, text);
}

void Recorder::Clear() {
  commands_.clear();
  transitions_.clear();
}

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
