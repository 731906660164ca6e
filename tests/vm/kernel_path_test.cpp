// The real device path, hidapi over hidraw, against a virtual Halvix behind the kernel's uhid
// driver. Run inside the test virtual machine (tests/vm/run-vm-stage), as root.
#include <algorithm>
#include <atomic>
#include <fstream>

#include "kernel_rig.h"
#include "sim/input_reports.h"
#include "sim/wire_names.h"

namespace vantrel::vm {
namespace {

using sim::Line;
using sim::LineTransition;

const std::string kSettings = "WPM 20\nSideTone FALSE\nLogTime FALSE\n";

TEST(Enumeration, TheHalvixIsOpenedBesideAnotherHidDeviceThatIsNeverWritten) {
  std::atomic<int> otherWrites = 0;
  tools::UhidLink other({"Other HID Device", 0x046D, 0xC077, tools::HalvixReportDescriptor({})},
                        [&](const std::uint8_t*, std::size_t) { ++otherWrites; });
  ASSERT_TRUE(other.Create());
  platform::HidapiBus bus;
  ASSERT_TRUE(WaitForNode(bus, true, 0x046D, 0xC077));
  KernelRig rig(Halvix(23));
  rig.Open(kSettings);
  EXPECT_EQ(rig.Engine().FirmwareVersion(), 23u);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.Commands().empty(); }));
  rig.window.reset();
  EXPECT_EQ(otherWrites, 0);
}

TEST(ReportLengths, ComeFromTheDescriptorAndTheFirstCommandArrivesWhole) {
  for (const auto& [shape, length] : {std::pair{tools::ReportShape{0, 8}, 9u},
                                      {tools::ReportShape{1, 8}, 9u},
                                      {tools::ReportShape{0, 31}, 32u}}) {
    SCOPED_TRACE(length);
    KernelRig rig(Halvix(23, shape));
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
}

// A uhid device has no manufacturer string (hidapi reads it as empty), so firmware 10 comes
// from the product string here; the manufacturer rule is the simulated bus's to test.
TEST(FirmwareVersion, IsReadFromTheProductString) {
  for (const auto& [product, version] : {std::pair{"Halvix CW Ver2.3", 23u},
                                         {"Halvix CW Ver2.0", 20u},
                                         {"Halvix CW Ver2.2", 22u},
                                         {"Halvix CW Ver1.0", 10u},
                                         {"Halvix CW", 99u}}) {
    auto config = Halvix(version);
    config.name = product;
    KernelRig rig(config);
    rig.Open(kSettings);
    EXPECT_EQ(rig.Engine().FirmwareVersion(), version) << product;
  }
}

// What the window's start-up wrote, without the polls of firmware below 20, whose reader
// thread writes in its own time: those are compared as a set.
std::vector<std::string> StartUp(std::vector<sim::ReceivedCommand> commands, unsigned version) {
  std::vector<std::string> bytes;
  for (const auto& command : commands) {
    if (command.bytes[1] != sim::CmdPollInputs)
      bytes.push_back(sim::FormatReportBytes(command.bytes));
  }
  if (version < 20) std::sort(bytes.begin(), bytes.end());
  return bytes;
}

class StartUpBytes : public testing::TestWithParam<unsigned> {};

TEST_P(StartUpBytes, AreTheGoldenOnes) {
  const unsigned version = GetParam();
  std::vector<std::string> golden;
  std::ifstream file(VANTREL_VM_DATA_DIR "/startup_bytes.txt");
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with(std::to_string(version) + " ")) golden.push_back(line.substr(3));
  }
  ASSERT_FALSE(golden.empty());
  KernelRig rig(Halvix(version));
  rig.Open(kSettings);
  QTest::qWait(300);
  EXPECT_EQ(StartUp(rig.Device().Commands(), version), golden);
}

INSTANTIATE_TEST_SUITE_P(Kernel, StartUpBytes, testing::Values(23u, 20u, 10u));

TEST(Operating, TypedCodesGoOutADecodedCharacterComesInAndTheTeardownIsWrittenLast) {
  KernelRig rig(Halvix(23));
  rig.Open(kSettings);
  for (const char c : std::string("cq")) {
    const auto before = rig.Commands(sim::CmdSendCodes).size();
    rig.Type(std::string(1, c));
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return rig.Commands(sim::CmdSendCodes).size() > before &&
             rig.Device().BufferState() == sim::kBufferIdle;
    })) << testing::PrintToString(rig.Commands());
  }
  QTest::qWait(200);
  EXPECT_EQ(rig.Commands(sim::CmdSendCodes),
            (std::vector<std::string>{"00 05 A8 00 00 00 00 00 00", "00 05 D8 00 00 00 00 00 00"}));
  EXPECT_TRUE(static_cast<QLineEdit*>(rig.window->Control(ui::kIdInput))->text().isEmpty());
  QTest::mouseClick(rig.window->Control(ui::kIdDecode), Qt::LeftButton, {}, QPoint(4, 4));
  QTest::qWait(100);
  rig.Device().ReportDecoded(0x60);
  const auto log = static_cast<QPlainTextEdit*>(rig.window->Control(ui::kIdLog));
  EXPECT_TRUE(QTest::qWaitFor([&] { return log->toPlainText().contains('A'); }))
      << log->toPlainText().toStdString();
  const auto typed = rig.Commands().size();
  rig.window.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Commands().size() >= typed + 2; }));
  QTest::qWait(50);
  const auto all = rig.Commands();
  EXPECT_EQ(std::vector<std::string>(all.end() - 2, all.end()),
            (std::vector<std::string>{"00 01 0F 0F 0F 0F 0F 0F 0F", "00 02 0F 0F 0F 0F 0F 0F 0F"}));
}

// Lines of the event log that start with `kind` ("OUT", "IN").
std::size_t CountLines(const std::string& log, const std::string& kind) {
  std::size_t count = 0;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const auto space = line.find(' ');
    count += line.compare(space + 1, kind.size() + 1, kind + " ") == 0;
  }
  return count;
}

void ExpectPcTimedDot(KernelRig& rig) {
  rig.Type("e");
  ASSERT_TRUE(QTest::qWaitFor([&] { return rig.Device().Transitions().size() >= 4; }));
  std::vector<std::pair<Line, bool>> lines;
  for (const LineTransition& t : rig.Device().Transitions()) lines.emplace_back(t.line, t.on);
  EXPECT_EQ(lines,
            (std::vector<std::pair<Line, bool>>{
                {Line::Ptt, true}, {Line::Key, true}, {Line::Key, false}, {Line::Ptt, false}}));
}

TEST(Firmware10, EveryCommandDrawsOneReplyAndThePcTimesTheKeying) {
  KernelRig rig(Halvix(10));
  rig.Open(kSettings + "PTTCtrl TRUE\n");
  ExpectPcTimedDot(rig);
  rig.window.reset();
  const auto out = CountLines(rig.LogText(), "OUT");
  const auto in = CountLines(rig.LogText(), "IN");
  EXPECT_GT(in, 20u);
  // The replies still on the way when the reader stopped, and the teardown's two commands.
  EXPECT_LE(out - std::min(out, in), 4u) << out << " commands, " << in << " replies";
  EXPECT_LE(in, out);
}

// The virtual machine has no sound system at all: the PC sidetone fails to open and the keying
// goes on without it.
TEST(FailSoftSound, KeyingGoesOnWithoutASoundSystem) {
  KernelRig rig(Halvix(10));
  const auto tone = platform::MakeSystemToneOutput();
  rig.Open(kSettings + "PTTCtrl TRUE\nSideTone TRUE\n", tone.get());
  ExpectPcTimedDot(rig);
}

class Unplug : public testing::TestWithParam<unsigned> {};

// At firmware 10 the reader writes after every report, so the unplug meets a write under way.
TEST_P(Unplug, EndsTheReaderAndAReplugReopensOnTheNextTypedCharacter) {
  const unsigned version = GetParam();
  KernelRig rig(Halvix(version));
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
  rig.Type("e");
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
