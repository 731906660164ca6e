#pragma once

#include <string>
#include <vector>

namespace vantrel::operating {

// One step of text from a network client, in order: text to key, a change of speed for what
// follows, or the removal of the last character still queued.
struct TextPiece {
  enum class Kind { Text, SpeedStep, Erase };
  Kind kind = Kind::Text;
  std::string text;  // CP932 bytes; "~" prosign marks as the engine takes them
  int wpmStep = 0;   // SpeedStep: words per minute to add, negative to take away
  bool operator==(const TextPiece&) const = default;
};

using NetworkText = std::vector<TextPiece>;

// A speed change waiting in the queue: applied just before the character at `position` of
// `PendingText` is handed over.
struct SpeedMark {
  std::size_t position = 0;
  int wpmStep = 0;
  bool operator==(const SpeedMark&) const = default;
};

}  // namespace vantrel::operating
