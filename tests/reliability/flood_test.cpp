#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "keyer/fake_hid.h"
#include "keyer/keyer_messages.h"
#include "session_rig.h"
#include "ui/status_counter.h"

namespace vantrel::reliability {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A firmware 23 interface that answers every read at once with a status report, as fast as the
// reader asks. The buffer state alternates between 15 and 14 so that no report repeats the one
// before and the window cannot let any of them pass unseen.
class FloodBus final : public platform::HidBus {
 public:
  std::atomic<long> reads = 0;
  std::atomic<bool> flooding = false;

  std::vector<platform::HidDeviceInfo> Enumerate() override {
    return {{"flood:0", keyer::kHalvixVendorId, keyer::kHalvixProductId}};
  }
  std::unique_ptr<platform::HidDevice> Open(const std::string&) override {
    return std::make_unique<Handle>(*this);
  }

 private:
  class Handle final : public platform::HidDevice {
   public:
    explicit Handle(FloodBus& bus) : bus_(bus) {}
    std::size_t InputReportLength() const override { return 9; }
    std::size_t OutputReportLength() const override { return 9; }
    std::u16string ProductString() override { return keyer::testing::ProductFor(23); }
    std::u16string ManufacturerString() override { return u""; }
    bool Write(const std::uint8_t*, std::size_t) override { return true; }
    int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) override {
      if (!bus_.flooding) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return 0;
      }
      const long read = bus_.reads++;
      const std::uint8_t status = read % 2 == 0 ? 0xFF : 0xEF;
      const std::uint8_t report[9] = {0, 0x33, 0, 0, 0, 0, 0, 0x60, status};
      std::copy_n(report, std::min<std::size_t>(capacity, 9), buf);
      return 9;
    }

   private:
    FloodBus& bus_;
  };
};

// The reader posts a status notification for every report. The window must keep up: the
// notifications waiting for it stop growing, typed keys and queued calls are still taken, and
// once the flood ends every notification is handled.
TEST(Flood, TheWindowKeepsUpAndStaysResponsive) {
  settings::TempDir dir;
  const auto previousDir = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  FloodBus bus;
  platform::ManualTimerService timers;
  platform::NullToneOutput tone;
  auto note = [](QWidget*, const loglink::LogMessageBox&) {};
  auto window =
      std::make_unique<CMainDlg>(ui::MainDlgServices{bus, timers, tone, dir.path(), {}, note, {}},
                                 platform::SingleInstance::Acquire(dir.path(), "MyApp"));
  ui::rig::StatusCounter counter;
  window->installEventFilter(&counter);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  bus.flooding = true;
  long worstBacklog = 0;
  double worstKeyMs = 0;
  double worstQueuedMs = 0;
  const auto start = Clock::now();
  for (int round = 0; round < 20; ++round) {
    QTest::qWait(50);
    worstBacklog = std::max(worstBacklog, bus.reads.load() - counter.handled);
    const auto posted = Clock::now();
    bool ran = false;
    QMetaObject::invokeMethod(
        window.get(),
        [&] {
          ran = true;
          worstQueuedMs = std::max(worstQueuedMs, MsSince(posted));
        },
        Qt::QueuedConnection);
    const auto before = Clock::now();
    QTest::mouseClick(window->Control(ui::kIdInput), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), 'e');
    worstKeyMs = std::max(worstKeyMs, MsSince(before));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, 60'000));
  }
  const double seconds = MsSince(start) / 1000;
  bus.flooding = false;
  ASSERT_TRUE(QTest::qWaitFor([&] { return counter.handled == bus.reads.load(); }, 60'000));
  const long reads = bus.reads.load();
  std::printf(
      "[ flood    ] %ld reports in %.2f s (%.0f/s), all handled; worst backlog %ld, "
      "worst typed key %.1f ms, worst queued call %.1f ms\n",
      reads, seconds, reads / seconds, worstBacklog, worstKeyMs, worstQueuedMs);
  EXPECT_LT(worstBacklog, reads / 2);
  window.reset();
  std::filesystem::current_path(previousDir);
}

// The simulated interface reporting every 100 µs: three reports pass before the interface shows
// the handed-over character in its buffer, so the pacing rule finds it idle and abandons the
// rest of the queue. Nothing stays queued or keyed.
TEST(Flood, StatusEveryHundredMicrosecondsAbandonsTheQueueCleanly) {
  SessionRig rig(23, 100);
  rig.Open("LogTime FALSE\n");
  rig.FocusInput();
  rig.Type("cq test");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Quiet(); }, 20'000));
  ASSERT_TRUE(rig.RunMs(300));
  std::size_t sent = 0;
  for (const auto& command : rig.sim.Commands()) sent += command.bytes[1] == sim::CmdSendCodes;
  std::printf("[ flood    ] 100 us status: %zu of 7 characters sent, the rest abandoned\n", sent);
  EXPECT_GE(sent, 1u);
  EXPECT_TRUE(rig.window->Logic().State().PendingText.empty());
  EXPECT_TRUE(rig.Released());
}

}  // namespace
}  // namespace vantrel::reliability
