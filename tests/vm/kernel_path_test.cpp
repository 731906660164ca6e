// The real device path, hidapi over hidraw, against a virtual Halvix behind the kernel's uhid
// driver. Run inside the test virtual machine (tests/vm/run-vm-stage), as root.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/hid_hidapi.h"
#include "platform/linux/single_instance.h"
#include "platform/linux/sound_portaudio.h"
#include "platform/linux/timer_thread.h"
#include "settings/data_table.h"
#include "sim/event_log.h"
#include "sim/input_reports.h"
#include "sim/wire_names.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "virtual_halvix.h"

namespace vantrel::vm {
namespace {

const std::string kSettings = "WPM 20\nSideTone FALSE\nLogTime FALSE\n";

// True once some HID device of the bus carries `vendor`/`product`, or none does when `present`
// is false; the kernel adds and removes devices on its own workers. Waits are QTest's 5 s.
bool WaitForNode(platform::HidBus& bus, bool present, std::uint16_t vendor = keyer::kHalvixVendorId,
                 std::uint16_t product = keyer::kHalvixProductId) {
  return QTest::qWaitFor([&] {
    const auto nodes = bus.Enumerate();
    return present == std::ranges::any_of(nodes, [&](const auto& info) {
             return info.vendorId == vendor && info.productId == product;
           });
  });
}

// The operating window on the real HID bus (hidapi over hidraw) and a virtual Halvix behind
// the kernel's uhid driver, all in real time, run from a fresh working directory.
class KernelRig {
 public:
  explicit KernelRig(unsigned version, tools::ReportShape shape = {})
      : halvix(simTimers, {.sim = {.firmwareVersion = version}, .name = {}, .shape = shape}),
        previousDir_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    EXPECT_TRUE(WaitForNode(bus, true)) << "the virtual Halvix never appeared on the bus";
    Device().SetEventLog(&log_);
  }
  ~KernelRig() {
    window.reset();
    Device().SetEventLog(nullptr);
    std::filesystem::current_path(previousDir_);
  }

  sim::SimInterface& Device() { return halvix.Device(); }
  keyer::CCwDevice& Engine() { return window->Engine(); }

  void Open(const std::string& settingsFile, platform::ToneOutput* tone = nullptr) {
    dir.Write("Vantrel.cfg", settingsFile);
    window = std::make_unique<ui::CMainDlg>(
        ui::MainDlgServices{bus, timers, tone ? *tone : silence, dir.path(), {}},
        platform::SingleInstance::Acquire(dir.path(), "MyApp"));
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(window->Control(ui::kIdInput), Qt::LeftButton);
  }

  std::vector<std::string> Commands(int code = -1) {
    std::vector<std::string> found;
    for (const auto& command : Device().Commands()) {
      if (code < 0 || command.bytes[1] == code)
        found.push_back(sim::FormatReportBytes(command.bytes));
    }
    return found;
  }
  // How often `word` occurs in the interface's event log; count only once the window is gone.
  std::size_t LogCount(const std::string& word) const {
    const std::string log = logText_.str();
    const std::regex pattern(word);
    const std::sregex_iterator found(log.begin(), log.end(), pattern);
    return static_cast<std::size_t>(std::distance(found, {}));
  }

  settings::TempDir dir;
  platform::ThreadTimerService simTimers{"vantrel-sim"};
  platform::ThreadTimerService timers;
  tools::VirtualHalvix halvix;
  platform::HidapiBus bus;
  platform::NullToneOutput silence;
  std::unique_ptr<ui::CMainDlg> window;

 private:
  std::filesystem::path previousDir_;
  std::ostringstream logText_;
  sim::EventLog log_{logText_, halvix.Device().StartTime()};
};

// Another HID device with the same descriptor is never written. A uhid device has no
// manufacturer string, so the firmware version comes from the product string here.
TEST(Enumeration, TheHalvixAloneIsOpenedWithTheReportLengthsOfItsDescriptor) {
  std::atomic<int> otherWrites = 0;
  tools::UhidLink other({"Other HID Device", 0x046D, 0xC077, tools::HalvixReportDescriptor({})},
                        [&](const std::uint8_t*, std::size_t) { ++otherWrites; });
  ASSERT_TRUE(other.Create());
  for (const auto& [shape, length] : {std::pair{tools::ReportShape{0, 8}, 9u},
                                      {tools::ReportShape{1, 8}, 9u},
                                      {tools::ReportShape{0, 31}, 32u}}) {
    SCOPED_TRACE(length);
    KernelRig rig(23, shape);
    ASSERT_TRUE(WaitForNode(rig.bus, true, 0x046D, 0xC077));
    std::unique_ptr<platform::HidDevice> handle;
    for (const auto& info : rig.bus.Enumerate()) {
      if (info.vendorId == keyer::kHalvixVendorId) handle = rig.bus.Open(info.path);
    }
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->InputReportLength(), length);
    EXPECT_EQ(handle->OutputReportLength(), length);
    handle.reset();
    rig.Open(kSettings);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.Commands().empty(); }));
    EXPECT_EQ(rig.Commands().front(), "00 01 0F 00 00 00 00 00 00");
    EXPECT_EQ(rig.Engine().FirmwareVersion(), 23u);
  }
  EXPECT_EQ(otherWrites, 0);
}

class StartUpBytes : public testing::TestWithParam<unsigned> {};

// The polls of firmware below 20 are left out; its reader thread writes in its own time, so
// the rest is compared as a set.
TEST_P(StartUpBytes, AreTheGoldenOnes) {
  const unsigned version = GetParam();
  std::vector<std::string> golden;
  for (const auto& row : ReadTable(VANTREL_VM_DATA_DIR "/startup_bytes.txt"))
    if (row[0] == std::to_string(version)) golden.push_back(row[1]);
  ASSERT_FALSE(golden.empty());
  KernelRig rig(version);
  rig.Open(kSettings);
  QTest::qWait(300);
  auto bytes = rig.Commands();
  std::erase_if(bytes, [](const std::string& command) { return command.starts_with("00 04 "); });
  if (version < 20) std::sort(bytes.begin(), bytes.end());
  EXPECT_EQ(bytes, golden);
}

INSTANTIATE_TEST_SUITE_P(Kernel, StartUpBytes, testing::Values(23u, 20u, 10u));

TEST(Operating, EachTypedCharacterGoesOutInItsOwnCommand) {
  KernelRig rig(23);
  rig.Open(kSettings);
  for (const char c : std::string("cq")) {
    const auto before = rig.Commands(sim::CmdSendCodes).size();
    QTest::keyClick(QApplication::focusWidget(), c);
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return rig.Commands(sim::CmdSendCodes).size() > before &&
             rig.Device().BufferState() == sim::kBufferIdle;
    })) << testing::PrintToString(rig.Commands());
  }
  QTest::qWait(200);
  EXPECT_EQ(rig.Commands(sim::CmdSendCodes),
            (std::vector<std::string>{"00 05 A8 00 00 00 00 00 00", "00 05 D8 00 00 00 00 00 00"}));
  EXPECT_TRUE(static_cast<QLineEdit*>(rig.window->Control(ui::kIdInput))->text().isEmpty());
}

// The virtual machine has no sound system at all: the PC sidetone fails to open and the keying
// goes on without it. Below 20 every command draws one reply, and the PC times the keying.
TEST(FailSoftSound, Firmware10KeysOnWithoutASoundSystemAndEachCommandDrawsOneReply) {
  KernelRig rig(10);
  const auto tone = platform::MakeSystemToneOutput();
  rig.Open(kSettings + "PTTCtrl TRUE\nSideTone TRUE\n", tone.get());
  QTest::keyClick(QApplication::focusWidget(), 'e');
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Device().Transitions().size() >= 4; }));
  std::string lines;
  for (const auto& t : rig.Device().Transitions())
    lines += t.line == sim::Line::Key ? (t.on ? 'K' : 'k') : (t.on ? 'P' : 'p');
  EXPECT_EQ(lines, "PKkp");
  rig.window.reset();
  const auto out = rig.LogCount(" OUT "), in = rig.LogCount(" IN ");
  EXPECT_GT(in, 20u);
  // The replies still on the way when the reader stopped, and the teardown's two commands.
  EXPECT_LE(out - std::min(out, in), 4u) << out << " commands, " << in << " replies";
  EXPECT_LE(in, out);
}

class Unplug : public testing::TestWithParam<unsigned> {};

// At firmware 10 the reader writes after every report, so the unplug meets a write under way.
TEST_P(Unplug, EndsTheReaderAndAReplugReopensOnTheNextTypedCharacter) {
  const unsigned version = GetParam();
  KernelRig rig(version);
  rig.Open(kSettings);
  QTest::qWait(100);
  rig.Device().Unplug();
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return rig.Engine().FirmwareVersion() == 0 && rig.Engine().ReaderThreadCount() == 0;
  }));
  EXPECT_FALSE(rig.Engine().LinkOpen());
  ASSERT_TRUE(WaitForNode(rig.bus, false));
  rig.Device().Plug();
  ASSERT_TRUE(WaitForNode(rig.bus, true));
  rig.Device().ClearHistory();
  QTest::keyClick(QApplication::focusWidget(), 'e');
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Engine().FirmwareVersion() == version; }));
  EXPECT_EQ(rig.Engine().ReaderThreadCount(), 1u);
  if (version >= 20) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.Commands(sim::CmdSendCodes).empty(); }));
    EXPECT_EQ(rig.Commands(sim::CmdSpeed), std::vector<std::string>{"00 24 1E 00 00 00 00 00 00"});
    EXPECT_EQ(rig.Commands(sim::CmdSendCodes),
              std::vector<std::string>{"00 05 40 00 00 00 00 00 00"});
  } else {
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Device().Transitions().size() >= 2; }));
  }
}

INSTANTIATE_TEST_SUITE_P(Kernel, Unplug, testing::Values(23u, 10u),
                         [](const auto& info) { return info.param == 23 ? "idle" : "writing"; });

}  // namespace
}  // namespace vantrel::vm
