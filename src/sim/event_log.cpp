#include "sim/event_log.h"

#include <cstdio>

namespace vantrel::sim {

std::string FormatLogTime(platform::Micros elapsed) {
  const bool negative = elapsed < 0;
  const auto magnitude = negative ? -elapsed : elapsed;
  std::string text = (negative ? "-" : "") + std::to_string(magnitude / 1000);
  if (const auto fraction = magnitude % 1000; fraction != 0) {
    char digits[5];
    std::snprintf(digits, sizeof digits, ".%03d", static_cast<int>(fraction));
    text += digits;
    while (text.back() == '0') text.pop_back();
  }
  return text;
}

std::string FormatReportBytes(const Report& report) {
  std::string text;
  for (const auto byte : report) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", byte);
    text += hex;
  }
  text.pop_back();
  return text;
}

std::unique_ptr<EventLog> EventLog::AppendingTo(const std::string& path, platform::Micros origin,
                                                std::string& error) {
  auto file = std::make_unique<std::ofstream>(path, std::ios::app);
  if (!*file) {
    error = path + ": cannot be opened for writing";
    return nullptr;
  }
  auto log = std::make_unique<EventLog>(*file, origin);
  log->file_ = std::move(file);
  return log;
}

void EventLog::Out(platform::Micros at, const Report& command) {
  Write(at, "OUT " + FormatReportBytes(command));
}

void EventLog::Transition(const LineTransition& transition) {
  const std::string name = transition.line == Line::Key ? "KEY " : "PTT ";
  Write(transition.at, name + (transition.on ? "1" : "0"));
}

void EventLog::In(platform::Micros at, const Report& report) {
  {
    std::lock_guard lock(mutex_);
    const bool repeat = IsIdleStatus(report) && lastIn_ == report;
    lastIn_ = report;
    if (repeat) return;
  }
  Write(at, "IN " + FormatReportBytes(report));
}

void EventLog::Event(platform::Micros at, std::string_view text) {
  Write(at, "EVENT " + std::string(text));
}

void EventLog::Write(platform::Micros at, std::string_view rest) {
  std::lock_guard lock(mutex_);
  out_ << FormatLogTime(at - origin_) << ' ' << rest << std::endl;
}

}  // namespace vantrel::sim
