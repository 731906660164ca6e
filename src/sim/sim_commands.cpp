#include "sim/sim_interface.h"

namespace vantrel::sim {

// Firmware below 20 only switches its lines and answers every command with its inputs.
void SimInterface::Apply(const Report& command, platform::Micros now) {
  if (Keys()) {
    ApplyKeyerCommand(command, now);
    return;
  }
  if (command[1] == CmdOutputLines) {
    transmitter_.Set(Line::Key, (command[2] & 0x01) == 0, now);
    transmitter_.Set(Line::Ptt, (command[2] & 0x02) == 0, now);
  }
  ScheduleReply(now);
}

void SimInterface::ApplyKeyerCommand(const Report& command, platform::Micros now) {
  KeyerSettings& settings = keyer_.Settings();
  switch (command[1]) {
    case CmdSendCodes:
      for (std::size_t i = 2; i < command.size(); ++i) keyer_.Queue(command[i], now);
      break;
    case CmdKeyerParams:
      settings.halfDotMs = command[2];
      settings.dotWeight2 = command[3];
      settings.dashWeight2 = command[4];
      settings.sidetoneIndex = command[6];
      break;
    case CmdSpeed:
      settings.halfDotMs = command[2];
      break;
    case CmdPttDelays:
      settings.pttBeforeMs = command[2];
      settings.pttAfterMs = command[3];
      break;
    case CmdPttControl:
      settings.pttControl = command[2] != 0;
      break;
    case CmdPaddleReverse:
      paddleReverse_ = command[4] != 0;
      break;
    case CmdModeFlags:
      settings.pttControl = (command[2] & 0x04) != 0;
      paddleReverse_ = (command[3] & 0x20) != 0;
      break;
    case CmdClearBuffer:
      keyer_.Clear(now);
      break;
    case CmdPtt:
      keyer_.HoldPtt(command[3] != 0, now);
      break;
  }
}

}  // namespace vantrel::sim
