#include <array>
#include <cstdint>
#include <vector>

#include "fuzz_target.h"
#include "keyer/engine_rig.h"

using namespace vantrel::keyer::testing;

// The first byte picks the interface and the engine's settings:
//   bits 0-1 firmware 10, 20, 22 or 23; bit 2 decoding; bit 3 PTT control; bit 4 PC sidetone;
//   bit 5 paddle reverse; bits 6-7 the input report length the device declares.
// Then per report: a length byte (9 to 32 bytes follow), a step byte (bits 0-5: milliseconds
// the clock moves after the report; bit 7: the operator sends text, or with bit 6 stops).
constexpr std::array<unsigned, 4> kFirmware{10, 20, 22, 23};
constexpr std::array<std::size_t, 4> kInputLength{9, 9, 32, 5};
// Texts queue behind each other; each takes less than this at the engine's speed, with the
// PTT tail.
constexpr std::int64_t kSettlePerTextMs = 10'000;

void FuzzOne(std::string_view data) {
  if (data.empty()) return;
  const auto flags = static_cast<std::uint8_t>(data[0]);
  EngineRig rig(kFirmware[flags & 0x03],
                [flags](EngineRig& r) { r.hid->inputLength = kInputLength[flags >> 6]; });
  auto& device = *rig.device;
  device.SetDecodeEnabled(flags & 0x04);
  device.SetPttControl(flags & 0x08);
  device.SetPcSidetone(flags & 0x10);
  device.SetPaddleReverse(flags & 0x20);
  int texts = 1;
  for (std::size_t at = 1; at + 2 <= data.size();) {
    const std::size_t length = 9 + static_cast<std::uint8_t>(data[at]) % 24;
    const auto step = static_cast<std::uint8_t>(data[at + 1]);
    const auto report = data.substr(at + 2, length);
    at += 2 + report.size();
    Require(rig.bus.Feed(rig.hid, {{report.begin(), report.end()}}),
            "the reader stopped taking reports");
    if ((step & 0xC0) == 0xC0) device.StopSending();
    if ((step & 0xC0) == 0x80) {
      device.SendText("PARIS ~AR");
      ++texts;
    }
    rig.timers.AdvanceMs(step & 0x3F);
  }
  // Left alone, the engine finishes what it was keying and lets go of key and PTT.
  rig.timers.AdvanceMs(texts * kSettlePerTextMs);
  Require(device.GetKeyingState() == vantrel::keyer::KeyingState::Idle, "still keying");
  Require(device.OutputLines() == vantrel::keyer::kLinesAtRest, "key or PTT line left closed");
  Require(rig.timers.PendingCount() == 0, "a timer is still armed");
  Require(device.ReaderThreadCount() == 1, "not exactly one reader");
  // Unplugged first, so the reader leaves its read at once instead of at its timeout.
  rig.bus.Change(rig.hid, [](FakeHidBus::Device& d) { d.present = false; });
}
