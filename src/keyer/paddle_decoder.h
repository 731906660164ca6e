#pragma once

#include <cstdint>
#include <optional>

#include "platform/key_injector.h"

namespace vantrel::keyer {

// The characters the interface decodes from the paddle. Each new value of its decode counter
// brings one code: a character to show, and for the back-space, escape and kana-switch codes a
// keystroke typed into the focused program. The kana-switch codes set the kana mode in which
// later codes are read.
class PaddleDecoder {
 public:
  explicit PaddleDecoder(platform::KeyInjector& keys) : keys_(keys) {}

  void SetEnabled(bool on) { decodeEnabled_ = on; }
  // The next counter seen only becomes the reference.
  void Restart() { lastDecodeCounter_ = -1; }
  // The index of the character to show, if the code brings one.
  std::optional<int> Decode(std::int8_t counter, std::uint8_t code);
  bool KanaMode() const { return kanaMode_; }

 private:
  void InjectKeystrokes(std::uint8_t code);

  platform::KeyInjector& keys_;
  bool decodeEnabled_ = false;
  bool kanaMode_ = false;
  int lastDecodeCounter_ = -1;
};

}  // namespace vantrel::keyer
