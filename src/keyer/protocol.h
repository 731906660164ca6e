#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <tuple>
#include <type_traits>

namespace vantrel::keyer {

inline constexpr std::uint16_t kHalvixVendorId = 0x0BFE;
inline constexpr std::uint16_t kHalvixProductId = 0x0E00;

// One report as the wire carries it in either direction, report id 0 first. An output report
// is a command byte and seven parameter bytes (unused ones are 0).
inline constexpr std::size_t kReportLength = 9;
using CommandReport = std::array<std::uint8_t, kReportLength>;
using ReportBytes = std::span<const std::uint8_t, kReportLength>;

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

// Positions of the speed switch on the panel of firmware 23 and later.
enum class SpeedSwitch : std::uint8_t { Down = 1, Up = 2, Rest = 3 };

}  // namespace wire

// Lines are active low in both directions: a 0 bit is a keyed output or a closed contact.
// The output lines carry the key on bit 0 and PTT on bit 1; the input lines the two paddle
// contacts on bits 0 and 2 (the dot on bit 0 unless the paddle is reversed) and two further
// inputs on bits 1 and 3.
inline constexpr std::uint8_t kKeyLine = 0x01;
inline constexpr std::uint8_t kPttLine = 0x02;
inline constexpr std::uint8_t kPaddleLineA = 0x01;
inline constexpr std::uint8_t kPaddleLineB = 0x04;
// Every line at rest: key up, PTT off, every contact open.
inline constexpr std::uint8_t kLinesAtRest = 0x0F;

constexpr bool LineActive(std::uint8_t lines, std::uint8_t line) {
  return (lines & line) == 0;
}
constexpr std::uint8_t WithLine(std::uint8_t lines, std::uint8_t line, bool active) {
  return static_cast<std::uint8_t>(active ? lines & ~line : lines | line);
}

struct PaddleLines {
  std::uint8_t dot;
  std::uint8_t dash;
};
constexpr PaddleLines PaddleLinesFor(bool reversed) {
  return reversed ? PaddleLines{kPaddleLineB, kPaddleLineA}
                  : PaddleLines{kPaddleLineA, kPaddleLineB};
}

// The interface's mode flags, three bytes sent and reported whole; the program knows two bits
// of them and keeps the others as the interface gave them.
using ModeFlagBytes = std::array<std::uint8_t, 3>;
struct ModeFlag {
  std::size_t byte;
  std::uint8_t mask;
};
inline constexpr ModeFlag kPttControlFlag{0, 0x04};
inline constexpr ModeFlag kPaddleReverseFlag{1, 0x20};
inline constexpr ModeFlagBytes kInitialModeFlags{0x04, 0xA0, 0x00};

constexpr bool HasFlag(const ModeFlagBytes& flags, ModeFlag flag) {
  return (flags[flag.byte] & flag.mask) != 0;
}
constexpr void SetFlag(ModeFlagBytes& flags, ModeFlag flag, bool on) {
  auto& byte = flags[flag.byte];
  byte = static_cast<std::uint8_t>(on ? byte | flag.mask : byte & ~flag.mask);
}

// The interface's buffer state when it has nothing left to send.
inline constexpr std::uint8_t kBufferIdle = 15;
// Byte 3 of CmdPollInputs and of the input-line reply that it asks for.
inline constexpr std::uint8_t kPollMark = 3;
// One CmdSendCodes carries this many codes; later characters of a text are ignored.
inline constexpr std::size_t kCodesPerCommand = 7;

// Each report type lists its fields in wire order with `Fields()`, from byte 2 for a command
// (byte 1 is its code) and from byte 1 for an input report. `Build` and `Parse` both walk that
// one list, so every field's place is written once. A `Reserved` place is 0 on the wire and
// not read back; a flag goes out as 1 or 0 and reads back as any non-zero byte.
struct Reserved {};
inline constexpr Reserved kReserved{};

struct OutputLinesCommand {
  static constexpr Command kCode = CmdOutputLines;
  std::uint8_t lines = kLinesAtRest;
  constexpr auto Fields() { return std::tie(lines); }
};

struct PollInputsCommand {
  static constexpr Command kCode = CmdPollInputs;
  std::uint8_t lines = kLinesAtRest;
  std::uint8_t mark = kPollMark;
  constexpr auto Fields() { return std::tie(lines, mark); }
};

struct SendCodesCommand {
  static constexpr Command kCode = CmdSendCodes;
  std::array<std::uint8_t, kCodesPerCommand> codes{};
  constexpr auto Fields() { return std::tie(codes); }
};

// Half the dot length in ms, the weights as twice the dot lengths; byte 5 is always 2.
struct KeyerParamsCommand {
  static constexpr Command kCode = CmdKeyerParams;
  std::uint8_t halfDotMs = 0;
  std::uint8_t dotWeight2 = 0;
  std::uint8_t dashWeight2 = 0;
  std::uint8_t fixed = 2;
  std::uint8_t sidetoneIndex = 0;
  constexpr auto Fields() {
    return std::tie(halfDotMs, dotWeight2, dashWeight2, fixed, sidetoneIndex);
  }
};

struct PttDelaysCommand {
  static constexpr Command kCode = CmdPttDelays;
  std::uint8_t beforeMs = 0;
  std::uint8_t afterMs = 0;
  constexpr auto Fields() { return std::tie(beforeMs, afterMs); }
};

struct SpeedCommand {
  static constexpr Command kCode = CmdSpeed;
  std::uint8_t halfDotMs = 0;
  constexpr auto Fields() { return std::tie(halfDotMs); }
};

struct PttControlCommand {
  static constexpr Command kCode = CmdPttControl;
  bool on = false;
  constexpr auto Fields() { return std::tie(on); }
};

struct PaddleReverseCommand {
  static constexpr Command kCode = CmdPaddleReverse;
  bool on = false;
  constexpr auto Fields() { return std::tie(kReserved, kReserved, on); }
};

struct ModeFlagsCommand {
  static constexpr Command kCode = CmdModeFlags;
  ModeFlagBytes flags{};
  constexpr auto Fields() { return std::tie(flags); }
};

struct ClearBufferCommand {
  static constexpr Command kCode = CmdClearBuffer;
  constexpr auto Fields() { return std::tie(); }
};

struct PttCommand {
  static constexpr Command kCode = CmdPtt;
  bool on = false;
  constexpr auto Fields() { return std::tie(kReserved, on); }
};

// One input report. Bytes 2 to 4 mean what the kind says; bytes 5 to 8 are the panel and the
// buffer of firmware 20 and later.
struct InputReport {
  ReplyKind kind{};
  std::array<std::uint8_t, 3> body{};
  std::int8_t decodeCounter = 0;
  std::uint8_t decodedCode = 0;
  // The speed switch in bits 5 and 6; any other bit set suppresses the speed combinations
  // of the input lines.
  std::uint8_t switches = 0;
  // The buffer state in the high nibble, the input lines in the low one.
  std::uint8_t status = 0;

  constexpr auto Fields() {
    return std::tie(kind, body, decodeCounter, decodedCode, switches, status);
  }

  // Kind "!": the interface's half dot length in ms.
  constexpr int SpeedHalfDotMs() const { return static_cast<std::int8_t>(body[0]); }
  // Kind 0x04 with the poll mark: the reply to CmdPollInputs, the input lines in byte 2.
  constexpr bool IsPollReply() const { return kind == KindInputLines && body[1] == kPollMark; }
  constexpr std::uint8_t PollLines() const { return body[0]; }

  constexpr SpeedSwitch SwitchPosition() const {
    return static_cast<SpeedSwitch>((switches >> kSwitchShift) & kSwitchMask);
  }
  constexpr std::uint8_t BufferState() const { return status >> kNibbleBits; }
  constexpr std::uint8_t InputLines() const { return status & kLinesAtRest; }

  static constexpr std::uint8_t SwitchesAt(SpeedSwitch position) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(position) << kSwitchShift);
  }
  static constexpr std::uint8_t StatusOf(std::uint8_t bufferState, std::uint8_t lines) {
    return static_cast<std::uint8_t>(bufferState << kNibbleBits | (lines & kLinesAtRest));
  }
  static constexpr InputReport PollReply(std::uint8_t lines) {
    return {.kind = KindInputLines,
            .body = {static_cast<std::uint8_t>(lines & kLinesAtRest), kPollMark, 0}};
  }

 private:
  static constexpr unsigned kSwitchShift = 5;
  static constexpr unsigned kSwitchMask = 0x03;
  static constexpr unsigned kNibbleBits = 4;
};

namespace detail {

template <typename T>
constexpr void Put(CommandReport& report, std::size_t& at, const T& value) {
  if constexpr (std::is_same_v<T, Reserved>) {
    ++at;
  } else if constexpr (std::is_same_v<T, bool>) {
    report[at++] = value ? 1 : 0;
  } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    report[at++] = static_cast<std::uint8_t>(value);
  } else {
    for (const auto byte : value) report[at++] = byte;
  }
}

template <typename T>
constexpr void Take(ReportBytes report, std::size_t& at, T& value) {
  if constexpr (std::is_same_v<std::remove_const_t<T>, Reserved>) {
    ++at;
  } else if constexpr (std::is_same_v<T, bool>) {
    value = report[at++] != 0;
  } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    value = static_cast<T>(report[at++]);
  } else {
    for (auto& byte : value) byte = report[at++];
  }
}

}  // namespace detail

template <typename R>
concept IsCommand = requires {
  R::kCode;
};

template <typename R>
constexpr CommandReport Build(R fields) {
  CommandReport report{};
  if constexpr (IsCommand<R>) report[1] = R::kCode;
  std::size_t at = IsCommand<R> ? 2 : 1;
  std::apply([&](const auto&... field) { (detail::Put(report, at, field), ...); }, fields.Fields());
  return report;
}

// Reads the fields of `R` from a report without looking at its code or kind.
template <typename R>
constexpr R Parse(ReportBytes report) {
  R fields{};
  std::size_t at = IsCommand<R> ? 2 : 1;
  std::apply([&](auto&... field) { (detail::Take(report, at, field), ...); }, fields.Fields());
  return fields;
}

// Every parameter byte at `value`: the release of every line at teardown and on a stop.
constexpr CommandReport AllLinesCommand(Command command, std::uint8_t value) {
  CommandReport report{};
  report[1] = command;
  for (std::size_t at = 2; at < kReportLength; ++at) report[at] = value;
  return report;
}

// The interface takes weights as twice the float, truncated, in one byte.
inline std::uint8_t EncodeWeight(float weight) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(weight * 2.0f) & 0xFF);
}
inline std::uint8_t EncodeHalfDot(unsigned dotLengthMs) {
  return static_cast<std::uint8_t>(dotLengthMs / 2);
}

}  // namespace vantrel::keyer
