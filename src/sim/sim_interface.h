#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keyer/firmware_profile.h"
#include "platform/timer.h"
#include "sim/code_keyer.h"
#include "sim/event_log.h"
#include "sim/guarded_timers.h"
#include "sim/input_reports.h"
#include "sim/recorder.h"
#include "sim/report_queue.h"
#include "sim/sidetone.h"
#include "sim/wire_names.h"

namespace vantrel::sim {

struct VersionStrings {
  std::u16string product;
  std::u16string manufacturer;
};

// Strings from which a host reads back `version`: digits at positions 13 and 15 of the
// product string, or (for 10) a manufacturer beginning with 'J', or (for 99) neither.
// Throws std::invalid_argument above 99.
VersionStrings StringsForVersion(unsigned version);

struct SimConfig {
  unsigned firmwareVersion = 23;
  // Firmware 20 and later: time between status reports.
  platform::Micros statusIntervalUs = 5000;
  // Firmware below 20: delay of the reply to each command.
  platform::Micros pollIntervalUs = 1000;
  // Which contact is the dot until the host says otherwise (the host's default is reversed).
  bool paddleReverse = true;
  // Off for long demo runs, where only the event log matters.
  bool keepHistory = true;
};

// One simulated Halvix on the device side of the protocol. Its time comes from the timer
// service, which must outlive it. Thread-safe; it never calls back into the host.
class SimInterface {
 public:
  SimInterface(platform::TimerService& timers, std::string path, SimConfig config);
  ~SimInterface();
  SimInterface(const SimInterface&) = delete;
  SimInterface& operator=(const SimInterface&) = delete;

  const std::string& Path() const { return path_; }
  unsigned FirmwareVersion() const { return config_.firmwareVersion; }
  const VersionStrings& Strings() const { return strings_; }
  platform::Micros StartTime() const { return start_; }

  // The handles' side.
  ReportQueue& Reports() { return queue_; }
  // One output report from a handle of `generation`; false once that handle is dead.
  bool Receive(ReportQueue::Generation generation, const std::uint8_t* data, std::size_t length);

  // What the operator and the firmware do.
  void SetPaddle(Paddle paddle);
  void SetInputLines(std::uint8_t nibble);
  void SetSpeedSwitch(SpeedSwitch position);
  void ReportDecoded(std::uint8_t code);
  void SendSpeedReport(std::uint8_t halfDotMs);
  void SendModeFlagsReport(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2);
  void Unplug();
  void Plug();
  bool IsPlugged() const;

  // The log receives every event from here on; it must outlive this interface or be unset.
  void SetEventLog(EventLog* log);
  // Sounds the interface's own sidetone on `tone` while it keys; nullptr for silence.
  void SetSidetone(platform::ToneOutput* tone);
  void NoteEvent(std::string_view text);

  // What happened.
  std::vector<ReceivedCommand> Commands() const;
  std::vector<LineTransition> Transitions() const;
  void ClearHistory();
  bool IsOn(Line line) const;
  std::uint8_t BufferState() const;
  KeyerSettings Settings() const;
  bool WaitUntilDrained(std::chrono::milliseconds limit) { return queue_.WaitUntilDrained(limit); }

 private:
  bool Keys() const { return keyer::ProfileFor(config_.firmwareVersion).TakesCodes(); }
  void Apply(const Report& command, platform::Micros now);
  void ApplyKeyerCommand(const Report& command, platform::Micros now);
  void ArmStatus(platform::Micros deadline);
  void ScheduleReply(platform::Micros now);
  void SendPanelReport(ReplyKind kind, std::array<std::uint8_t, 3> body, platform::Micros at);
  void Emit(const Report& report, platform::Micros at);
  void PowerUp(platform::Micros now);

  mutable std::mutex mutex_;
  const std::string path_;
  const SimConfig config_;
  const VersionStrings strings_;
  const platform::Micros start_;
  ReportQueue queue_;
  Recorder recorder_;
  Transmitter transmitter_;
  GuardedTimers timers_;
  CodeKeyer keyer_;
  PanelState panel_;
  bool paddleReverse_;
  bool plugged_ = true;
  std::unique_ptr<Sidetone> sidetone_;
};

}  // namespace vantrel::sim
