#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "loglink/log_message_box.h"
#include "loglink/log_reply.h"
#include "loglink/peer_check.h"
#include "loglink/record_connection.h"
#include "loglink/record_server.h"

namespace vantrel::loglink {

struct LogLinkOptions {
  // A logging program that has not answered by then counts as refusing.
  std::chrono::milliseconds answerTimeout{2000};
  PeerCheck peerCheck = IsSameUser;
};

struct LogContact {
  std::string HisCall;
  int Report = 0;
};

// What the window does after an exchange: show the box if there is one; after F11, bring the
// window that the logging program named to the foreground when that is non-zero.
struct LogOutcome {
  std::optional<LogMessageBox> messageBox;
  std::uint64_t foregroundWindow = 0;
};

// Vantrel's end of the link to the logging program, used from the window's thread only. It
// owns the socket where the logging program's replies arrive: watch Fd() for reading and call
// HandleReadable(). Replies that arrive while a send waits for its answer are handled within
// the send, so the handler sees them in both cases.
class LogLink {
 public:
  using ReplyHandler = std::function<void(const LogReply&)>;

  explicit LogLink(ReplyHandler onReply, LogLinkOptions options = {});
  LogLink(const LogLink&) = delete;
  LogLink& operator=(const LogLink&) = delete;

  // -1 when the reply socket could not be made; requests then carry no reply address.
  int Fd() const { return replies_ ? replies_->Fd() : -1; }
  void HandleReadable();
  std::string ReplyAddress() const { return replies_ ? replies_->Address() : std::string(); }

  // Empty when no logging program is found; 0 when it refuses or does not answer in time;
  // otherwise its result.
  std::optional<std::uint64_t> CopyDataSend(std::uint64_t identifier, std::string_view bytes);

  // F11. `readControls` runs only once the logging program has been found.
  LogOutcome SendToLog(const std::function<LogContact()>& readControls);

  // F12. The callsign and report come later, through the reply handler.
  LogOutcome FetchFromLog();

 private:
  std::optional<RecordConnection> FindLogProgram() const;
  std::uint64_t Exchange(RecordConnection& connection, std::uint64_t identifier,
                         std::string_view bytes);
  std::uint64_t TakeReply(const CopyDataRecord& record);

  ReplyHandler onReply_;
  LogLinkOptions options_;
  std::unique_ptr<RecordServer> replies_;
  bool inReply_ = false;
};

}  // namespace vantrel::loglink
