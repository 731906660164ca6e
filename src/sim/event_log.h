#pragma once

#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/timer.h"
#include "sim/input_reports.h"
#include "sim/wire_names.h"

namespace vantrel::sim {

// The two lines the interface drives at the transmitter.
enum class Line { Key, Ptt };

struct LineTransition {
  platform::Micros at = 0;
  Line line = Line::Key;
  bool on = false;
  bool operator==(const LineTransition&) const = default;
};

// "1.5" for 1500 µs: whole milliseconds, then up to three decimals without trailing zeros.
std::string FormatLogTime(platform::Micros elapsed);
// "00 05 A8 00 00 00 00 00 00"
std::string FormatReportBytes(const Report& report);

// One line per event of the simulated interface, times in ms since `origin`. Safe to call
// from any thread; it calls nothing but the stream.
class EventLog {
 public:
  EventLog(std::ostream& out, platform::Micros origin) : out_(out), origin_(origin) {}
  // A log appended to the file at `path`; nullptr with `error` set when it cannot be opened.
  static std::unique_ptr<EventLog> AppendingTo(const std::string& path, platform::Micros origin,
                                               std::string& error);

  void Out(platform::Micros at, const Report& command);
  void Transition(const LineTransition& transition);
  // Leaves out an idle status report identical to the report sent before it.
  void In(platform::Micros at, const Report& report);
  void Event(platform::Micros at, std::string_view text);

 private:
  void Write(platform::Micros at, std::string_view rest);

  std::unique_ptr<std::ofstream> file_;
  std::mutex mutex_;
  std::ostream& out_;
  const platform::Micros origin_;
  std::optional<Report> lastIn_;
};

}  // namespace vantrel::sim
