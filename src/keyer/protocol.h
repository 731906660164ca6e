#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

namespace vantrel::keyer {

// One output report: report id 0, command byte, seven parameter bytes (unused ones are 0).
using CommandReport = std::array<std::uint8_t, 9>;

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

// Parameters fill bytes 2 upwards.
CommandReport MakeCommand(Command command, std::initializer_list<std::uint8_t> params = {});
CommandReport MakeAllLinesCommand(Command command, std::uint8_t value);

// The interface takes weights as twice the float, truncated, in one byte.
std::uint8_t EncodeWeight(float weight);

}  // namespace vantrel::keyer
