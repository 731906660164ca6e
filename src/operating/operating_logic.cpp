#include "operating/operating_logic.h"

#include <utility>

namespace vantrel::operating {
namespace {

// The log control holds at most this many characters; a send that finds it longer starts a
// fresh log.
constexpr std::size_t kLogLimit = 32767;

}  // namespace

OperatingLogic::OperatingLogic(OperatingView& view, KeyerPort& keyer, settings::Settings& settings,
                               LocalTimeClock clock)
    : view_(view), keyer_(keyer), settings_(settings), clock_(std::move(clock)) {}

// StopSending's release command makes an open attempt, and the re-apply then gives a
// returned interface every setting.
void OperatingLogic::ReconnectIfClosed() {
  if (keyer_.FirmwareVersion() != 0) return;
  StopTransmission();
  view_.ApplySettings();
}

void OperatingLogic::LimitLogLength() {
  if (Fields().LogText.size() <= kLogLimit) return;
  Fields().LogText.clear();
  view_.RefreshControls();
}

void OperatingLogic::AppendTimeStamp() {
  if (settings_.LogTime) Fields().LogText += TimeStamp(clock_());
}

void OperatingLogic::LogLine(const std::string& shown) {
  Fields().LogText += shown + "\r\n";
  view_.RefreshControls();
  view_.ShowLogEnd();
}

}  // namespace vantrel::operating
