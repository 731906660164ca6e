#include "keyer/paddle_decoder.h"

#include "keyer/morse_code.h"

namespace vantrel::keyer {

std::optional<int> PaddleDecoder::Decode(std::int8_t counter, std::uint8_t code) {
  if (counter == lastDecodeCounter_) return std::nullopt;
  // The first counter seen, and anything while decoding is off, only becomes the reference.
  if (lastDecodeCounter_ == -1 || !decodeEnabled_) code = kNoCode;
  const int index = FindDecodedIndex(code, kanaMode_);
  const bool shown = index >= 0 && (index < kFirstKatakanaIndex || kanaMode_);
  InjectKeystrokes(code);
  lastDecodeCounter_ = counter;
  return shown ? std::optional(index) : std::nullopt;
}

void PaddleDecoder::InjectKeystrokes(std::uint8_t code) {
  auto tap = [this](int key) {
    keys_.Key(key, true);
    keys_.Key(key, false);
  };
  switch (code) {
    case 0x01:
      tap(platform::kVkBack);
      break;
    case 0x16:
      tap(platform::kVkEscape);
      break;
    case 0x9E:
    case 0x14:
      kanaMode_ = code == 0x9E;
      keys_.Key(platform::kVkMenu, true);
      tap(platform::kVkKana);
      keys_.Key(platform::kVkMenu, false);
      break;
    default:
      break;
  }
}

}  // namespace vantrel::keyer
