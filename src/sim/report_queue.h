#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "sim/wire_names.h"

namespace vantrel::sim {

// The input side of one simulated device: reports waiting for the host's reader, and the
// connection that handles belong to. Handles opened before an unplug stay dead for good, as
// they would on a real bus. Calls nothing outside itself.
class ReportQueue {
 public:
  using Generation = std::uint64_t;

  // nullopt while disconnected.
  std::optional<Generation> OpenHandle();
  void CloseHandle(Generation generation, bool wasReading);
  bool IsLive(Generation generation) const;

  void Disconnect();
  void Connect();

  // Queues a report when some handle is open to receive it; false when it went nowhere.
  bool Push(const Report& report);

  // HidDevice::Read for one handle; `reading` marks the handle as a reader on its first read.
  // A negative timeout waits without limit.
  int Read(Generation generation, bool& reading, std::uint8_t* buf, std::size_t capacity,
           int timeoutMs);

  // True once no report is waiting and every reading handle is back in Read, so everything
  // the reader did with the reports has happened. False when `limit` passed first.
  bool WaitUntilDrained(std::chrono::milliseconds limit);

 private:
  static constexpr std::size_t kCapacity = 64;

  bool LiveLocked(Generation generation) const;
  bool DrainedLocked() const;

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::condition_variable settled_;
  std::deque<Report> reports_;
  Generation generation_ = 1;
  bool connected_ = true;
  int handles_ = 0;
  int readers_ = 0;
  int waiting_ = 0;
};

}  // namespace vantrel::sim
