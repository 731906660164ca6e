#include "sim/sim_interface.h"

namespace vantrel::sim {

using keyer::Parse;

// Firmware below 20 only switches its lines and answers every command with its inputs.
void SimInterface::Apply(const Report& command, platform::Micros now) {
  if (Keys()) {
    ApplyKeyerCommand(command, now);
    return;
  }
  if (command[1] == CmdOutputLines) {
    const std::uint8_t lines = Parse<keyer::OutputLinesCommand>(command).lines;
    transmitter_.Set(Line::Key, keyer::LineActive(lines, keyer::kKeyLine), now);
    transmitter_.Set(Line::Ptt, keyer::LineActive(lines, keyer::kPttLine), now);
  }
  ScheduleReply(now);
}

void SimInterface::ApplyKeyerCommand(const Report& command, platform::Micros now) {
  KeyerSettings& settings = keyer_.Settings();
  switch (command[1]) {
    case CmdSendCodes:
      for (const auto code : Parse<keyer::SendCodesCommand>(command).codes) keyer_.Queue(code, now);
      break;
    case CmdKeyerParams: {
      const auto params = Parse<keyer::KeyerParamsCommand>(command);
      settings.halfDotMs = params.halfDotMs;
      settings.dotWeight2 = params.dotWeight2;
      settings.dashWeight2 = params.dashWeight2;
      settings.sidetoneIndex = params.sidetoneIndex;
      break;
    }
    case CmdSpeed:
      settings.halfDotMs = Parse<keyer::SpeedCommand>(command).halfDotMs;
      break;
    case CmdPttDelays: {
      const auto delays = Parse<keyer::PttDelaysCommand>(command);
      settings.pttBeforeMs = delays.beforeMs;
      settings.pttAfterMs = delays.afterMs;
      break;
    }
    case CmdPttControl:
      settings.pttControl = Parse<keyer::PttControlCommand>(command).on;
      break;
    case CmdPaddleReverse:
      paddleReverse_ = Parse<keyer::PaddleReverseCommand>(command).on;
      break;
    case CmdModeFlags: {
      const auto flags = Parse<keyer::ModeFlagsCommand>(command).flags;
      settings.pttControl = keyer::HasFlag(flags, keyer::kPttControlFlag);
      paddleReverse_ = keyer::HasFlag(flags, keyer::kPaddleReverseFlag);
      break;
    }
    case CmdClearBuffer:
      keyer_.Clear(now);
      break;
    case CmdPtt:
      keyer_.HoldPtt(Parse<keyer::PttCommand>(command).on, now);
      break;
  }
}

}  // namespace vantrel::sim
