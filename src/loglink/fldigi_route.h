#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "loglink/fldigi_methods.h"
#include "loglink/log_route.h"
#include "loglink/loopback_server.h"

namespace vantrel::loglink {

inline constexpr int kFldigiPort = 7362;

// Stands in for fldigi's XML-RPC interface, the one Linux loggers poll for the call of the
// contact (tlf with its FLDIGI option, CQRLOG in "fldigi remote" mode). F11 hands the
// callsign and report over; the logger takes them at its next poll.
class FldigiRoute final : public LogRoute {
 public:
  // Port 0 is fldigi's own, 7362. A port already taken is not an error here: F11 tries it
  // again and says so while it stays taken.
  explicit FldigiRoute(int port);

  LogOutcome SendToLog(const std::function<LogContact()>& readControls) override;
  LogOutcome FetchFromLog() override;

  // 0 when the port could not be had.
  int Port() const { return server_ ? server_->Port() : 0; }

 private:
  void Listen();
  std::optional<std::string> Answer(std::string_view received);

  int port_;
  std::mutex mutex_;
  FldigiLogFields fields_;
  std::unique_ptr<LoopbackServer> server_;  // last: its thread uses the fields
};

}  // namespace vantrel::loglink
