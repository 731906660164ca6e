#include "keyer/code_encoder.h"

#include "keyer/morse_code.h"

namespace vantrel::keyer {

std::uint8_t CodeFor(const CodeTable& table, char byte) {
  if (byte == kWordSpace) return kSpaceCode;
  if (byte == kProsignMark) return kProsignCode;
  return table.Lookup(static_cast<std::uint8_t>(byte));
}

EncodedCodes CodeEncoder::Encode(const CodeTable& table, std::string_view text) {
  EncodedCodes result;
  Collect(table, text.substr(0, kCodesPerCommand), result);
  Step(result);
  return result;
}

void CodeEncoder::Collect(const CodeTable& table, std::string_view text, EncodedCodes& result) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    result.codes[i] = CodeFor(table, text[i]);
    if (text[i] == kProsignMark) state_ = ProsignState::Armed;
  }
}

void CodeEncoder::Step(EncodedCodes& result) {
  switch (state_) {
    case ProsignState::Armed:
      state_ = ProsignState::First;
      result.postCharSent = true;
      return;
    case ProsignState::First:
      firstHalf_ = result.codes[0];
      state_ = ProsignState::Second;
      result.postCharSent = true;
      return;
    case ProsignState::Second: {
      const auto merged = MergeProsign(firstHalf_, result.codes[0]);
      state_ = ProsignState::Idle;
      firstHalf_ = 0;
      if (!merged) return;
      result.codes[0] = *merged;
      break;
    }
    case ProsignState::Idle:
      break;
  }
  result.writeCommand = true;
  result.postCharSent = true;
}

}  // namespace vantrel::keyer
