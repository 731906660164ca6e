#pragma once

#include "loglink/log_route.h"

namespace vantrel::loglink {

// Placeholder until the Linux loggers' routes arrive (port 0: 7311).
class XlogRoute final : public LogRoute {
 public:
  explicit XlogRoute(int port);

  LogOutcome SendToLog(const std::function<LogContact()>& readControls) override;
  LogOutcome FetchFromLog() override;
};

}  // namespace vantrel::loglink
