#include "loglink/hamlog_wine_route.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "loglink/log_records.h"
#include "loglink/log_reply.h"
#include "platform/diag.h"

namespace vantrel::loglink {
namespace {

using Kind = RelayMessage::Kind;

// The relay leaves at once when its input closes; a hung one is not waited for at exit.
constexpr std::chrono::milliseconds kRelayExitBound{500};

std::string PrefixOrDefault(const std::string& prefix) {
  if (!prefix.empty()) return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.wine";
}

void Trace(const std::string& text) {
  platform::Trace("Turbo HAMLOG relay: " + text);
}

}  // namespace

HamlogWineRoute::HamlogWineRoute(const LogLinkSettings& settings, std::string relayPath,
                                 ReplyHandler onReply, std::chrono::milliseconds bound)
    : wineCommand_(settings.wineCommand),
      winePrefix_(PrefixOrDefault(settings.winePrefix)),
      relayPath_(std::move(relayPath)),
      onReply_(std::move(onReply)),
      bound_(bound) {}

HamlogWineRoute::~HamlogWineRoute() {
  EndRelay();
}

LogOutcome HamlogWineRoute::SendToLog(const std::function<LogContact()>& readControls) {
  std::optional<RelayMessage> found = Ask(kRelayFindLine);
  if (!found || found->kind != Kind::kResult) return {kLogProgramNotFound};
  const LogContact contact = readControls();
  std::optional<RelayMessage> sent =
      Ask(RelaySendLine(CopyDataSendText(contact.HisCall, contact.Report)));
  if (!sent || sent->kind != Kind::kResult) return {kLogProgramNotFound};
  if (sent->result == 0) return {kInvalidCommand};
  return {};
}

LogOutcome HamlogWineRoute::FetchFromLog() {
  std::optional<RelayMessage> asked = Ask(kRelayRequestLine);
  if (!asked || asked->kind != Kind::kResult) return {kLogProgramNotFound};
  if (asked->result == 0) return {kInvalidCommand};
  return {};
}

std::optional<RelayMessage> HamlogWineRoute::Ask(std::string_view line) {
  if (!EnsureRelay()) return std::nullopt;
  std::unique_lock lock(mutex_);
  answers_.clear();
  lock.unlock();
  if (!relay_->WriteLine(line)) {
    Trace("the relay does not take its input");
    EndRelay();
    return std::nullopt;
  }
  lock.lock();
  if (!changed_.wait_for(lock, bound_, [this] { return !answers_.empty(); })) {
    lock.unlock();
    Trace("no answer within the bound; the relay is ended");
    EndRelay();
    return std::nullopt;
  }
  RelayMessage answer = std::move(answers_.front());
  answers_.pop_front();
  if (answer.kind == Kind::kNotFound) Trace("no window of class TThwin in " + winePrefix_);
  return answer;
}

// A relay still starting from an earlier press is waited for again; one that has ended is
// started anew.
bool HamlogWineRoute::EnsureRelay() {
  if (relay_ && !relay_->Running()) {
    Trace("the relay has ended; starting it again");
    EndRelay();
  }
  if (!relay_ && !StartRelay()) return false;
  std::unique_lock lock(mutex_);
  if (changed_.wait_for(lock, bound_, [this] { return ready_; })) return true;
  Trace("the relay did not start within the bound");
  return false;
}

bool HamlogWineRoute::StartRelay() {
  if (relayPath_.empty() || !std::filesystem::exists(relayPath_)) {
    Trace("the relay program is not installed beside Vantrel" +
          (relayPath_.empty() ? std::string() : ": " + relayPath_));
    return false;
  }
  if (!std::filesystem::exists(winePrefix_ + "/system.reg")) {
    Trace("no Wine prefix at " + winePrefix_);
    return false;
  }
  LineProcess::Command command{
      {wineCommand_, relayPath_}, {"WINEPREFIX=" + winePrefix_}, platform::TraceEnabled(), bound_};
  if (std::getenv("WINEDEBUG") == nullptr) command.environment.push_back("WINEDEBUG=-all");
  std::string error;
  relay_ = LineProcess::Start(
      command, [this](std::string_view line) { TakeLine(line); }, error);
  if (!relay_) Trace("cannot start Wine: " + error);
  return relay_ != nullptr;
}

void HamlogWineRoute::TakeLine(std::string_view line) {
  std::optional<RelayMessage> message = ParseRelayLine(line);
  if (!message) {
    Trace("unreadable line from the relay: " + std::string(line.substr(0, 80)));
    return;
  }
  if (message->kind == Kind::kReply) {
    onReply_(ParseLogReply(message->bytes));
    return;
  }
  std::lock_guard lock(mutex_);
  if (message->kind == Kind::kReady) {
    ready_ = true;
  } else {
    answers_.push_back(std::move(*message));
  }
  changed_.notify_all();
}

void HamlogWineRoute::EndRelay() {
  relay_.reset();
  std::lock_guard lock(mutex_);
  ready_ = false;
  answers_.clear();
}

}  // namespace vantrel::loglink
