#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "keyer/cw_device.h"
#include "keyer/engine_rig.h"
#include "support/manual_timer.h"
#include "support/test_doubles.h"

namespace {

using namespace vantrel;

// The first byte picks the interface and the engine's settings:
//   bits 0-1 firmware 10, 20, 22 or 23; bit 2 decoding; bit 3 PTT control;
//   bit 4 PC sidetone; bit 5 paddle reverse; bits 6-7 the input report length the device
//   declares.
// Then per report: a length byte (9 to 32 bytes follow), a step byte (bits 0-5: milliseconds
// the clock moves after the report; bit 7: the operator sends text, or with bit 6 stops).
constexpr std::array<unsigned, 4> kFirmware{10, 20, 22, 23};
constexpr std::array<std::size_t, 4> kInputLength{9, 9, 32, 5};
constexpr std::size_t kMinReport = 9;
constexpr std::size_t kReportLengths = 24;
// Texts queue behind each other; each takes less than this at the engine's speed, with the
// PTT tail.
constexpr std::int64_t kSettlePerTextMs = 10'000;

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void Configure(keyer::CCwDevice& device, std::uint8_t flags) {
  device.SetDecodeEnabled(flags & 0x04);
  device.SetPttControl(flags & 0x08);
  device.SetPcSidetone(flags & 0x10);
  device.SetPaddleReverse(flags & 0x20);
}

// Returns how many texts it sent.
int Operate(keyer::CCwDevice& device, std::uint8_t step) {
  if ((step & 0x80) == 0) return 0;
  if (step & 0x40) {
    device.StopSending();
    return 0;
  }
  device.SendText("PARIS ~AR");
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  keyer::testing::EngineRig rig(kFirmware[flags & 0x03], [flags](keyer::testing::EngineRig& r) {
    r.hid->inputLength = kInputLength[flags >> 6];
  });
  Configure(*rig.device, flags);
  std::size_t at = 1;
  int texts = 1;
  while (at + 2 <= size) {
    const std::size_t length = kMinReport + data[at] % kReportLengths;
    const std::uint8_t step = data[at + 1];
    at += 2;
    const std::size_t end = std::min(size, at + length);
    rig.bus.Queue(rig.hid, std::vector<std::uint8_t>(data + at, data + end));
    at = end;
    if (!rig.bus.WaitDrained(rig.hid)) Fail("the reader stopped taking reports");
    texts += Operate(*rig.device, step);
    rig.timers.AdvanceMs(step & 0x3F);
    rig.TakeWrites();
    rig.window.Take();
    rig.keys.Take();
    rig.tone.Take();
  }
  // Left alone, the engine finishes what it was keying and lets go of key and PTT.
  rig.timers.AdvanceMs(texts * kSettlePerTextMs);
  if (rig.device->GetKeyingState() != keyer::KeyingState::Idle) Fail("still keying");
  if (rig.device->OutputLines() != 0x0F) Fail("key or PTT line left closed");
  if (rig.timers.PendingCount() != 0) Fail("a timer is still armed");
  if (rig.device->ReaderThreadCount() != 1) Fail("not exactly one reader");
  // Unplugged first, so the reader leaves its read at once instead of at its timeout.
  rig.bus.Change(rig.hid, [](keyer::testing::FakeHidBus::Device& d) { d.present = false; });
  return 0;
}
