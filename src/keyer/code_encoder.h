#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "keyer/code_table.h"
#include "keyer/protocol.h"

namespace vantrel::keyer {

// Idle: nothing pending. Armed: the text held a '~'. First and Second: the next text's first
// code is the prosign's first or second half.
enum class ProsignState { Idle = 0, Armed = 1, First = 2, Second = 3 };

// The code byte `byte` is sent as: the space and the prosign mark before the table is asked;
// kNoCode for a character the table does not hold.
std::uint8_t CodeFor(const CodeTable& table, char byte);

struct EncodedCodes {
  bool writeCommand = false;
  bool postCharSent = false;
  std::array<std::uint8_t, kCodesPerCommand> codes{};
};

// Turns text into the code bytes of one CmdSendCodes. A '~' joins the first characters of the
// two texts that follow it into one prosign; a prosign that cannot be built (too many elements,
// or a half without a code) is dropped without a command or a message.
class CodeEncoder {
 public:
  EncodedCodes Encode(const CodeTable& table, std::string_view text);
  ProsignState State() const { return state_; }

 private:
  void Collect(const CodeTable& table, std::string_view text, EncodedCodes& result);
  void Step(EncodedCodes& result);

  ProsignState state_ = ProsignState::Idle;
  std::uint8_t firstHalf_ = 0;
};

}  // namespace vantrel::keyer
