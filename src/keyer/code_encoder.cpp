#include "keyer/code_encoder.h"

#include "keyer/morse_code.h"

namespace vantrel::keyer {

EncodedCodes CodeEncoder::Encode(const CodeTable& table, std::string_view text) {
  EncodedCodes result;
  Collect(table, text.substr(0, kCodesPerCommand), result);
  Step(result);
  return result;
}

void CodeEncoder::Collect(const CodeTable& table, std::string_view text, EncodedCodes& result) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char byte = text[i];
    if (byte == kWordSpace) {
      result.codes[i] = kSpaceCode;
    } else if (byte == kProsignMark) {
      result.codes[i] = kProsignCode;
      state_ = ProsignState::Armed;
    } else {
      result.codes[i] = table.Lookup(static_cast<std::uint8_t>(byte));
    }
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
