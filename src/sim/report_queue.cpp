#include "sim/report_queue.h"

#include <algorithm>
#include <cstring>

namespace vantrel::sim {

std::optional<ReportQueue::Generation> ReportQueue::OpenHandle() {
  std::lock_guard lock(mutex_);
  if (!connected_) return std::nullopt;
  ++handles_;
  return generation_;
}

void ReportQueue::CloseHandle(Generation generation, bool wasReading) {
  std::lock_guard lock(mutex_);
  if (!LiveLocked(generation)) return;
  --handles_;
  if (wasReading) --readers_;
  if (handles_ == 0) reports_.clear();
  settled_.notify_all();
}

bool ReportQueue::IsLive(Generation generation) const {
  std::lock_guard lock(mutex_);
  return LiveLocked(generation);
}

void ReportQueue::Disconnect() {
  std::lock_guard lock(mutex_);
  connected_ = false;
  ++generation_;
  reports_.clear();
  handles_ = readers_ = waiting_ = 0;
  arrived_.notify_all();
  settled_.notify_all();
}

void ReportQueue::Connect() {
  std::lock_guard lock(mutex_);
  connected_ = true;
}

bool ReportQueue::Push(const Report& report) {
  {
    std::lock_guard lock(mutex_);
    if (!connected_ || handles_ == 0) return false;
    // Like a hidraw buffer nobody drains: the oldest report gives way.
    if (reports_.size() == kCapacity) reports_.pop_front();
    reports_.push_back(report);
  }
  // Woken after the unlock, the reader finds the lock free instead of sleeping on it again.
  arrived_.notify_all();
  return true;
}

int ReportQueue::Read(Generation generation, bool& reading, std::uint8_t* buf, std::size_t capacity,
                      int timeoutMs) {
  std::unique_lock lock(mutex_);
  if (!LiveLocked(generation)) return -1;
  if (!reading) {
    reading = true;
    ++readers_;
  }
  ++waiting_;
  settled_.notify_all();
  const auto ready = [&] { return !reports_.empty() || !LiveLocked(generation); };
  if (timeoutMs < 0) {
    arrived_.wait(lock, ready);
  } else {
    arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  }
  if (!LiveLocked(generation)) return -1;
  --waiting_;
  if (reports_.empty()) return 0;
  const Report report = reports_.front();
  reports_.pop_front();
  const std::size_t count = std::min(capacity, report.size());
  if (count > 0) std::memcpy(buf, report.data(), count);
  return static_cast<int>(count);
}

bool ReportQueue::WaitUntilDrained(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return settled_.wait_for(lock, limit, [this] { return DrainedLocked(); });
}

bool ReportQueue::LiveLocked(Generation generation) const {
  return connected_ && generation == generation_;
}

bool ReportQueue::DrainedLocked() const {
  return !connected_ || (reports_.empty() && waiting_ >= readers_);
}

}  // namespace vantrel::sim
