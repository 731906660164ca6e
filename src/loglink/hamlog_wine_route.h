#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "loglink/line_process.h"
#include "loglink/log_link_settings.h"
#include "loglink/log_route.h"
#include "loglink/relay_protocol.h"

namespace vantrel::loglink {

// Turbo HAMLOG running under Wine, reached through Vantrel's Win32 relay in the same prefix.
// The relay is started on first use, kept for the session, started again when it has died,
// and ended with the route. Starting it and each of its answers are waited for at most
// `bound`; a relay that does not answer in time is ended, and the exchange shows the
// not-found box. Replies reach `onReply` on the relay's reader thread.
class HamlogWineRoute final : public LogRoute {
 public:
  static constexpr std::chrono::milliseconds kBound{2000};

  HamlogWineRoute(const LogLinkSettings& settings, std::string relayPath, ReplyHandler onReply,
                  std::chrono::milliseconds bound = kBound);
  ~HamlogWineRoute() override;

  LogOutcome SendToLog(const std::function<LogContact()>& readControls) override;
  LogOutcome FetchFromLog() override;

 private:
  bool EnsureRelay();
  bool StartRelay();
  // The relay's answer to `line`; empty when none came in time (the relay is then ended).
  std::optional<RelayMessage> Ask(std::string_view line);
  void TakeLine(std::string_view line);
  void EndRelay();

  const std::string wineCommand_;
  const std::string winePrefix_;
  const std::string relayPath_;
  const ReplyHandler onReply_;
  const std::chrono::milliseconds bound_;
  std::unique_ptr<LineProcess> relay_;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool ready_ = false;
  std::deque<RelayMessage> answers_;
};

}  // namespace vantrel::loglink
