#pragma once

#include <algorithm>
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
constexpr CommandReport MakeCommand(Command command,
                                    std::initializer_list<std::uint8_t> params = {}) {
  CommandReport report{};
  report[1] = command;
  std::copy_n(params.begin(), std::min<std::size_t>(params.size(), 7), report.begin() + 2);
  return report;
}

constexpr CommandReport MakeAllLinesCommand(Command command, std::uint8_t value) {
  CommandReport report{};
  report[1] = command;
  std::fill(report.begin() + 2, report.end(), value);
  return report;
}

// The interface takes weights as twice the float, truncated, in one byte.
inline std::uint8_t EncodeWeight(float weight) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(weight * 2.0f) & 0xFF);
}

}  // namespace vantrel::keyer
