#include "platform/linux/timer_thread.h"

#include <sys/prctl.h>

#include <algorithm>

#include "platform/linux/thread_name.h"

namespace vantrel::platform {

ThreadTimerService::ThreadTimerService(const char* name, RealtimeRequest* realtime)
    : name_(name), realtime_(realtime), epoch_(Clock::now()), thread_([this] { Run(); }) {}

ThreadTimerService::~ThreadTimerService() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

Micros ThreadTimerService::Now() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - epoch_).count();
}

TimerService::TimerId ThreadTimerService::ArmAt(Micros deadline, Callback callback) {
  TimerId id;
  bool newFront;
  {
    std::lock_guard lock(mutex_);
    id = nextId_++;
    const auto it = pending_.emplace(Key{deadline, id}, std::move(callback)).first;
    newFront = it == pending_.begin();
  }
  if (newFront) wake_.notify_all();
  return id;
}

void ThreadTimerService::Cancel(TimerId id) {
  // Declared before the lock so that the callback's captures are released after unlocking.
  Callback dropped;
  std::lock_guard lock(mutex_);
  const auto it = std::find_if(pending_.begin(), pending_.end(),
                               [id](const auto& entry) { return entry.first.second == id; });
  if (it != pending_.end()) dropped = std::move(pending_.extract(it).mapped());
}

void ThreadTimerService::Quiesce() {
  if (std::this_thread::get_id() == thread_.get_id()) return;
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !firing_; });
}

ThreadTimerService::Clock::time_point ThreadTimerService::ToTimePoint(Micros micros) const {
  return epoch_ + std::chrono::microseconds(micros);
}

// A plain wait_until, with the timer slack taken away, wakes well under 0.1 ms late on an idle
// machine. Spinning out the last stretch was tried: it trims the typical error further but,
// on a loaded machine, gets the thread preempted for whole milliseconds. Every wait is a sleep:
// until the front deadline, or, with nothing armed, until the next ArmAt or the destructor.
void ThreadTimerService::Run() {
  NameThisThread(name_);
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  if (realtime_ != nullptr) realtime_->MakeThreadRealtime(CurrentThreadId());
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (pending_.empty()) {
      wake_.wait(lock);
    } else if (const auto due = ToTimePoint(pending_.begin()->first.first); Clock::now() < due) {
      wake_.wait_until(lock, due);
    } else {
      FireFront(lock);
    }
  }
}

void ThreadTimerService::FireFront(std::unique_lock<std::mutex>& lock) {
  {
    auto node = pending_.extract(pending_.begin());
    const auto [deadline, id] = node.key();
    firing_ = true;
    lock.unlock();
    node.mapped()(id, deadline);
  }
  lock.lock();
  firing_ = false;
  idle_.notify_all();
}

}  // namespace vantrel::platform
