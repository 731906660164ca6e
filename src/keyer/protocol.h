#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace vantrel::keyer {

inline constexpr std::uint16_t kHalvixVendorId = 0x0BFE;
inline constexpr std::uint16_t kHalvixProductId = 0x0E00;

// One report as the wire carries it in either direction, report id 0 first. An output report
// is a command byte and seven parameter bytes (unused ones are 0).
inline constexpr std::size_t kReportLength = 9;
using CommandReport = std::array<std::uint8_t, kReportLength>;

// The wire names, also for the device side of the link: `using namespace keyer::wire`.
inline namespace wire {

enum Command : std::uint8_t {
  CmdOutputLines = 0x01,
  CmdOutputLines2 = 0x02,
  CmdPollInputs = 0x04,
  CmdSendCodes = 0x05,
  CmdKeyerParams = 0x20,
  CmdPttDelays = 0x22,
  CmdSpeed = 0x24,
  CmdPttControl = 0x25,
  CmdPaddleReverse = 0x26,
  CmdModeFlags = 0x30,
  CmdClearBuffer = 0x34,
  CmdPtt = 0x35,
};

// Byte 1 of an input report.
enum ReplyKind : std::uint8_t {
  KindInputLines = 0x04,
  KindSpeed = 0x21,
  KindModeFlags = 0x31,
  KindStatus = 0x33,
};

}  // namespace wire

// Parameters fill bytes 2 upwards.
CommandReport MakeCommand(Command command, std::initializer_list<std::uint8_t> params = {});
CommandReport MakeAllLinesCommand(Command command, std::uint8_t value);

// The interface takes weights as twice the float, truncated, in one byte.
std::uint8_t EncodeWeight(float weight);

}  // namespace vantrel::keyer
