#include "support/settle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "sim_rig.h"

namespace vantrel::sim {
namespace {

// Reads like the host's reader thread below firmware 20: one poll written per report.
class PollingReader {
 public:
  PollingReader(SimBus& bus, const std::string& path)
      : handle_(bus.Open(path)), thread_([this] { Run(); }) {}
  ~PollingReader() {
    stop_ = true;
    thread_.join();
  }

 private:
  void Run() {
    Report report{};
    const Report poll{0, 0x04, 0x0F, 3, 0, 0, 0, 0, 0};
    while (!stop_) {
      const int count = handle_->Read(report.data(), report.size(), 10);
      if (count < 0) return;
      if (count > 0) handle_->Write(poll.data(), poll.size());
    }
  }

  std::unique_ptr<platform::HidDevice> handle_;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

TEST(AdvanceAndSettle, RunsTheOneReplyPerCommandLoopExactlyOnTheClock) {
  SimRig rig({.firmwareVersion = 10});
  PollingReader reader(rig.bus, rig.device.Path());
  rig.Send({0x01, 0x0F});
  ASSERT_TRUE(AdvanceAndSettle(rig.timers, rig.bus, 10'000));
  const auto commands = rig.device.Commands();
  ASSERT_EQ(commands.size(), 11u);
  for (std::size_t i = 0; i < commands.size(); ++i)
    EXPECT_EQ(commands[i].at, 1000 * static_cast<platform::Micros>(i));
}

// Reads like the host's reader thread from firmware 20 on: it only takes the reports in.
class CountingReader {
 public:
  CountingReader(SimBus& bus, const std::string& path)
      : handle_(bus.Open(path)), thread_([this] { Run(); }) {}
  ~CountingReader() {
    stop_ = true;
    thread_.join();
  }
  int Count() const { return count_; }

 private:
  void Run() {
    Report report{};
    while (!stop_) {
      const int count = handle_->Read(report.data(), report.size(), 10);
      if (count < 0) return;
      if (count > 0) ++count_;
    }
  }

  std::unique_ptr<platform::HidDevice> handle_;
  std::atomic<bool> stop_ = false;
  std::atomic<int> count_ = 0;
  std::thread thread_;
};

TEST(AdvanceAndSettle, EveryStatusReportIsReadBeforeTheCallReturns) {
  SimRig rig;
  rig.handle.reset();
  CountingReader reader(rig.bus, rig.device.Path());
  for (int step = 1; step <= 10; ++step) {
    ASSERT_TRUE(AdvanceAndSettle(rig.timers, rig.bus, step * 5000, 5000));
    EXPECT_EQ(reader.Count(), step);
  }
}

TEST(AdvanceAndSettle, SettlesAtOnceWhenNobodyReads) {
  SimRig rig;
  EXPECT_TRUE(AdvanceAndSettle(rig.timers, rig.bus, 3000));
  EXPECT_EQ(rig.timers.Now(), 3000);
}

TEST(AdvanceAndSettle, ReportsAReaderThatNeverComesBack) {
  SimRig rig;
  Report report{};
  rig.timers.AdvanceTo(5000);
  ASSERT_EQ(rig.handle->Read(report.data(), report.size(), 0), 9);
  EXPECT_FALSE(AdvanceAndSettle(rig.timers, rig.bus, 10'000, 1000, std::chrono::milliseconds(1)));
}

}  // namespace
}  // namespace vantrel::sim
