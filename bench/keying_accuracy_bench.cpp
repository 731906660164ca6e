// Measures how closely the PC-timed keying hits its ideal key and PTT transition times with the
// real timer thread, against a reference that re-arms every timer from the moment its
// predecessor actually fired. Prints one table; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "firing_relative_timers.h"
#include "keyer/cw_device.h"
#include "no_devices.h"
#include "platform/linux/timer_thread.h"
#include "support/manual_timer.h"
#include "support/test_doubles.h"

namespace {

using vantrel::platform::Micros;
using vantrel::platform::TimerService;

struct Scenario {
  const char* name;
  unsigned wpm;
  bool ptt;
  std::string text;
};

struct Transition {
  Micros at;
  std::uint8_t lines;
};

class Recorder {
 public:
  explicit Recorder(const TimerService& clock) : clock_(clock) {}
  void Note(std::uint8_t lines) {
    std::lock_guard lock(mutex_);
    transitions_.push_back({clock_.Now(), lines});
    changed_.notify_all();
  }
  bool WaitFor(std::size_t count, std::chrono::seconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return transitions_.size() >= count; });
  }
  std::vector<Transition> Take() {
    std::lock_guard lock(mutex_);
    return transitions_;
  }

 private:
  const TimerService& clock_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Transition> transitions_;
};

std::vector<Transition> Play(const Scenario& s, TimerService& timers, bool manual,
                             std::size_t expected) {
  vantrel::bench::NoDevices bus;
  vantrel::platform::NullToneOutput tone;
  vantrel::platform::RecordingKeyInjector keys;
  Recorder recorder(timers);
  vantrel::keyer::CCwDevice device({bus, timers, tone, keys, "/nonexistent", 50});
  device.SetLinesObserver([&recorder](std::uint8_t lines) { recorder.Note(lines); });
  device.SetSpeed(s.wpm);
  device.SetPttControl(s.ptt);
  device.SendText(s.text);
  if (manual) {
    static_cast<vantrel::platform::ManualTimerService&>(timers).AdvanceMs(600'000);
  } else {
    recorder.WaitFor(expected, std::chrono::seconds(120));
  }
  return recorder.Take();
}

struct Figures {
  std::size_t transitions = 0;
  double p50 = 0, p99 = 0, max = 0, drift = 0;
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::ceil(p * values.size())) - 1;
  return values[std::min(index, values.size() - 1)];
}

Figures Compare(const std::vector<Transition>& ideal, const std::vector<Transition>& actual) {
  Figures f;
  f.transitions = std::min(ideal.size(), actual.size());
  if (f.transitions == 0) return f;
  std::vector<double> errors;
  for (std::size_t i = 0; i < f.transitions; ++i) {
    const double error = static_cast<double>((actual[i].at - actual[0].at) - ideal[i].at);
    errors.push_back(std::abs(error));
    f.drift = error;
  }
  f.p50 = Percentile(errors, 0.50);
  f.p99 = Percentile(errors, 0.99);
  f.max = *std::max_element(errors.begin(), errors.end());
  return f;
}

void PrintRow(const char* scenario, const char* timer, const Figures& f) {
  std::printf("%-24s %-10s %6zu %10.0f %10.0f %10.0f %10.0f\n", scenario, timer, f.transitions,
              f.p50, f.p99, f.max, f.drift);
}

}  // namespace

int main() {
  std::string paris;
  for (int i = 0; i < 10; ++i) paris += "PARIS ";
  const Scenario scenarios[] = {{"PARIS x10 @50 WPM", 50, false, paris},
                                {"EE @20 WPM PTT 25/200", 20, true, "EE"}};
  std::printf("%-24s %-10s %6s %10s %10s %10s %10s\n", "scenario", "timers", "trans", "p50 us",
              "p99 us", "max us", "drift us");
  for (const auto& s : scenarios) {
    vantrel::platform::ManualTimerService manual;
    const auto ideal = Play(s, manual, true, 0);
    Figures ours, reference;
    {
      vantrel::platform::ThreadTimerService timers;
      ours = Compare(ideal, Play(s, timers, false, ideal.size()));
    }
    {
      vantrel::platform::ThreadTimerService inner;
      vantrel::bench::FiringRelativeTimers timers(inner);
      reference = Compare(ideal, Play(s, timers, false, ideal.size()));
    }
    PrintRow(s.name, "ours", ours);
    PrintRow(s.name, "reference", reference);
    std::printf("%-24s %-10s p99 ratio %.2f, drift ratio %.2f\n", s.name, "ours/ref",
                reference.p99 > 0 ? ours.p99 / reference.p99 : 0.0,
                reference.drift != 0 ? std::abs(ours.drift / reference.drift) : 0.0);
  }
  return 0;
}
