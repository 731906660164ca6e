#pragma once

#include <array>
#include <cstdint>

namespace vantrel::sim {

// One report as the wire carries it in either direction: report id 0, then eight bytes.
using Report = std::array<std::uint8_t, 9>;

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

}  // namespace vantrel::sim
