#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/timer.h"
#include "sim/event_log.h"
#include "sim/wire_names.h"

namespace vantrel::sim {

struct ReceivedCommand {
  platform::Micros at = 0;
  Report bytes{};
  bool operator==(const ReceivedCommand&) const = default;
};

// Keeps what the interface received and did, and hands each event to the event log if one
// is set. Not locked: the interface serialises its calls.
class Recorder {
 public:
  explicit Recorder(bool keepHistory) : keepHistory_(keepHistory) {}

  void SetLog(EventLog* log) { log_ = log; }
  void Command(platform::Micros at, const Report& command);
  void Transition(const LineTransition& transition);
  void Input(platform::Micros at, const Report& report);
  void Event(platform::Micros at, std::string_view text);

  const std::vector<ReceivedCommand>& Commands() const { return commands_; }
  const std::vector<LineTransition>& Transitions() const { return transitions_; }
  void Clear();

 private:
  const bool keepHistory_;
  EventLog* log_ = nullptr;
  std::vector<ReceivedCommand> commands_;
  std::vector<LineTransition> transitions_;
};

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
