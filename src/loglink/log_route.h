#pragma once

#include <functional>
#include <optional>
#include <string>

#include "loglink/log_message_box.h"
#include "loglink/log_reply.h"

namespace vantrel::loglink {

struct LogContact {
  std::string HisCall;
  int Report = 0;
};

// What the window does after an exchange: show the box if there is one. (Bringing the
// logging program's window to the foreground after F11 is the route's own business.)
struct LogOutcome {
  std::optional<LogMessageBox> messageBox;
};

// Replies from a logging program that can be asked (F12) may arrive on any thread; the window
// moves them to its own thread before applying them.
using ReplyHandler = std::function<void(const LogReply&)>;

// One way of reaching one logging program. Used from the window's thread only; neither call
// waits on the logging program without a bound.
class LogRoute {
 public:
  virtual ~LogRoute() = default;

  // F11. `readControls` runs only once the logging program has been found.
  virtual LogOutcome SendToLog(const std::function<LogContact()>& readControls) = 0;

  // F12. The callsign and report come later, through the reply handler.
  virtual LogOutcome FetchFromLog() = 0;
};

}  // namespace vantrel::loglink
