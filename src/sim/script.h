#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/timer.h"
#include "sim/input_reports.h"

namespace vantrel::sim {

enum class ScriptVerb { Paddle, Decode, Input, Switch, Speed, ModeFlags, Unplug, Plug };

// One line "T ACTION [ARGS]": at T ms after the interface started.
struct ScriptAction {
  platform::Micros at = 0;
  ScriptVerb verb = ScriptVerb::Plug;
  Paddle paddle = Paddle::None;
  SpeedSwitch position = SpeedSwitch::Rest;
  // decode, input and speed use the first byte, modeflags all three.
  std::array<std::uint8_t, 3> bytes{};
  // The action and its arguments as the event log shows them.
  std::string text;
  bool operator==(const ScriptAction&) const = default;
};

struct ScriptError {
  int line = 0;
  std::string message;
  bool operator==(const ScriptError&) const = default;
};

struct ParsedScript {
  std::vector<ScriptAction> actions;
  std::vector<ScriptError> errors;
};

// Any text at all: every line that cannot be taken gives one error, and nothing is thrown.
ParsedScript ParseScript(std::string_view text);

// "line 3: unknown action \"jump\""
std::string FormatScriptError(const ScriptError& error);

// The actions of the script file, or every bad line as "FILE: line N: ...\n" in `error`.
std::vector<ScriptAction> ReadScriptFile(const std::string& file, std::string& error);

}  // namespace vantrel::sim
