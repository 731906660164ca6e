#pragma once

#include <string>

#include "loglink/log_route.h"

namespace vantrel::loglink {

inline constexpr int kXlogPort = 7311;
// xlog's System V message queue and the message type it reads there.
inline constexpr int kXlogQueueKey = 1238;
inline constexpr long kXlogMessageType = 88;

// xlog's remote data: "name:value" fields separated by byte 1. The date and time are left to
// xlog, which fills in its own; the mode is CW.
std::string XlogMessage(const LogContact& contact);

// Hands the callsign and report to xlog, through its message queue while xlog reads it (xlog
// removes the queue when it ends), otherwise as one message on a TCP connection to `port`.
// Whether xlog logs the contact at once or fills its QSO entry is xlog's preference.
class XlogRoute final : public LogRoute {
 public:
  // Port 0 is xlog's own, 7311.
  explicit XlogRoute(int port, int queueKey = kXlogQueueKey);

  LogOutcome SendToLog(const std::function<LogContact()>& readControls) override;
  LogOutcome FetchFromLog() override;

 private:
  int port_;
  int queueKey_;
};

}  // namespace vantrel::loglink
