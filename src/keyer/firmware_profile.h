#pragma once

namespace vantrel::keyer {

// How a setting reaches the interface.
enum class SettingRoute { None, KeyerParams, ModeFlags, OwnCommand };

// What the interface's firmware does and takes, chosen from its number (10 * major + minor;
// 0 while no interface is open) when the interface opens. The firmware number is compared
// here and nowhere else.
struct FirmwareProfile {
  unsigned version = 0;
  // The PC times every element on the output lines, drives PTT itself and answers every
  // input report; later firmware takes code bytes and times them itself.
  bool pcTimedKeying = true;
  // Input reports carry the position of the interface's speed switch.
  bool speedSwitch = false;
  // The interface sounds its own sidetone, its pitch chosen by index.
  bool interfaceSidetone = false;
  // The input message carries the input lines rather than the status byte.
  bool inputLinesMessage = false;
  // The weights and the PTT delays are sent to the interface.
  bool takesKeyingParams = false;
  SettingRoute speed = SettingRoute::None;
  // PTT control and paddle reversal.
  SettingRoute switches = SettingRoute::None;
  // The window offers paddle decoding, and the setup dialog the interface's sidetone pitches.
  bool decodeCheck = false;
  bool interfaceToneChoice = false;

  bool TakesCodes() const { return !pcTimedKeying; }
  bool operator==(const FirmwareProfile&) const = default;
};

constexpr FirmwareProfile ProfileFor(unsigned version) {
  if (version < 20) {
    return {.version = version, .decodeCheck = version >= 3, .interfaceToneChoice = version > 1};
  }
  // Firmware 20 carries the speed in the keyer parameters and the switches in the mode flags.
  const bool first = version == 20;
  const bool late = version >= 23;
  return {.version = version,
          .pcTimedKeying = false,
          .speedSwitch = late,
          .interfaceSidetone = late,
          .inputLinesMessage = late,
          .takesKeyingParams = true,
          .speed = first ? SettingRoute::KeyerParams : SettingRoute::OwnCommand,
          .switches = first ? SettingRoute::ModeFlags : SettingRoute::OwnCommand,
          .decodeCheck = true,
          .interfaceToneChoice = true};
}

}  // namespace vantrel::keyer
