#pragma once

#include <string_view>
#include <vector>

#include "platform/timer.h"
#include "sim/event_log.h"
#include "sim/line_transition.h"
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

}  // namespace vantrel::sim
