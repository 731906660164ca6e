#include "sim/script.h"

#include <fstream>
#include <iterator>
#include <optional>

namespace vantrel::sim {
namespace {

constexpr std::size_t kMaxWholeMsDigits = 9;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  return tokens;
}

// Milliseconds with up to three decimals, as microseconds.
std::optional<platform::Micros> ParseTime(std::string_view text) {
  const auto dot = text.find('.');
  const auto whole = text.substr(0, dot);
  const auto fraction = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  if (whole.empty() || whole.size() > kMaxWholeMsDigits || fraction.size() > 3) return {};
  if (dot != std::string_view::npos && fraction.empty()) return {};
  platform::Micros micros = 0;
  for (const char c : whole) {
    if (!IsDigit(c)) return {};
    micros = micros * 10 + (c - '0');
  }
  platform::Micros scale = 1000;
  for (const char c : fraction) {
    if (!IsDigit(c)) return {};
    scale /= 10;
    micros = micros * 10 + (c - '0');
  }
  return micros * scale;
}

std::optional<unsigned> ParseNumber(std::string_view text, int base, unsigned max) {
  if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
  }
  if (text.empty() || text.size() > 3) return {};
  unsigned value = 0;
  for (const char c : text) {
    int digit = -1;
    if (IsDigit(c)) digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return {};
    value = value * base + static_cast<unsigned>(digit);
  }
  if (value > max) return {};
  return value;
}

struct VerbRule {
  std::string_view name;
  ScriptVerb verb;
  std::size_t arguments;
};

constexpr VerbRule kVerbs[] = {
    {"paddle", ScriptVerb::Paddle, 1}, {"decode", ScriptVerb::Decode, 1},
    {"input", ScriptVerb::Input, 1},   {"switch", ScriptVerb::Switch, 1},
    {"speed", ScriptVerb::Speed, 1},   {"modeflags", ScriptVerb::ModeFlags, 3},
    {"unplug", ScriptVerb::Unplug, 0}, {"plug", ScriptVerb::Plug, 0},
};

std::optional<Paddle> ParsePaddle(std::string_view text) {
  if (text == "dot") return Paddle::Dot;
  if (text == "dash") return Paddle::Dash;
  if (text == "both") return Paddle::Both;
  if (text == "none") return Paddle::None;
  return {};
}

std::optional<SpeedSwitch> ParseSwitch(std::string_view text) {
  if (text == "up") return SpeedSwitch::Up;
  if (text == "down") return SpeedSwitch::Down;
  if (text == "rest") return SpeedSwitch::Rest;
  return {};
}

// Fills the arguments of `action`; false when one of them is bad.
bool ParseArguments(ScriptAction& action, const std::vector<std::string_view>& args) {
  auto byte = [&](std::size_t i, int base, unsigned max) {
    const auto value = ParseNumber(args[i], base, max);
    if (value) action.bytes[i] = static_cast<std::uint8_t>(*value);
    return value.has_value();
  };
  switch (action.verb) {
    case ScriptVerb::Paddle:
      if (const auto paddle = ParsePaddle(args[0])) return action.paddle = *paddle, true;
      return false;
    case ScriptVerb::Switch:
      if (const auto position = ParseSwitch(args[0])) return action.position = *position, true;
      return false;
    case ScriptVerb::Decode:
      return byte(0, 16, 0xFF);
    case ScriptVerb::Input:
      return byte(0, 16, kLinesAtRest);
    case ScriptVerb::Speed:
      return byte(0, 10, 255);
    case ScriptVerb::ModeFlags:
      return byte(0, 16, 0xFF) && byte(1, 16, 0xFF) && byte(2, 16, 0xFF);
    case ScriptVerb::Unplug:
    case ScriptVerb::Plug:
      return true;
  }
  return false;
}

std::string Join(const std::vector<std::string_view>& tokens, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < tokens.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += tokens[i];
  }
  return text;
}

// An error message, or nothing when the line was taken (or held nothing).
std::optional<std::string> ParseLine(std::string_view line, std::vector<ScriptAction>& out) {
  const auto tokens = Tokens(line.substr(0, line.find('#')));
  if (tokens.empty()) return {};
  const auto at = ParseTime(tokens[0]);
  if (!at) return "bad time \"" + std::string(tokens[0]) + "\"";
  if (tokens.size() < 2) return std::string("missing action");
  const VerbRule* rule = nullptr;
  for (const auto& candidate : kVerbs) {
    if (candidate.name == tokens[1]) rule = &candidate;
  }
  if (!rule) return "unknown action \"" + std::string(tokens[1]) + "\"";
  const std::vector<std::string_view> args(tokens.begin() + 2, tokens.end());
  if (args.size() != rule->arguments) {
    return std::string(rule->name) + " takes " + std::to_string(rule->arguments) +
           " argument(s), not " + std::to_string(args.size());
  }
  ScriptAction action{.at = *at, .verb = rule->verb, .text = Join(tokens, 1)};
  if (!ParseArguments(action, args)) return "bad argument in \"" + action.text + "\"";
  out.push_back(std::move(action));
  return {};
}

}  // namespace

ParsedScript ParseScript(std::string_view text) {
  ParsedScript parsed;
  int number = 0;
  while (!text.empty() || number == 0) {
    ++number;
    const auto end = text.find('\n');
    const auto line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (auto error = ParseLine(line, parsed.actions)) {
      parsed.errors.push_back({number, std::move(*error)});
    }
  }
  return parsed;
}

std::string FormatScriptError(const ScriptError& error) {
  return "line " + std::to_string(error.line) + ": " + error.message;
}

std::vector<ScriptAction> ReadScriptFile(const std::string& file, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = file + ": cannot be read\n";
    return {};
  }
  ParsedScript parsed = ParseScript(std::string(std::istreambuf_iterator<char>(in), {}));
  for (const ScriptError& bad : parsed.errors) error += file + ": " + FormatScriptError(bad) + "\n";
  return parsed.actions;
}

}  // namespace vantrel::sim
