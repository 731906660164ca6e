#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace vantrel::keyer {

// A MorseCode byte holds its elements from bit 7 downwards (1 = dash, 0 = dot), closed by
// a single marker bit; every bit below the marker is 0.
inline constexpr std::uint8_t kSpaceCode = 0x80;
inline constexpr std::uint8_t kProsignCode = 0xFF;
inline constexpr std::uint8_t kNoCode = 0x00;
inline constexpr int kMaxElements = 7;

// In text, a word gap and the mark that joins characters into one prosign.
inline constexpr char kWordSpace = ' ';
inline constexpr char kProsignMark = '~';

// The index of a character in this list is what a decoded paddle character travels as, so the
// order is shared with the window and must not change.
inline constexpr std::size_t kCharacterCount = 126;
extern const std::array<std::uint8_t, kCharacterCount> kCharacterList;
extern const std::array<std::uint8_t, kCharacterCount> kBuiltinCodes;

// Katakana decoding starts at the digits, skipping the Latin letters and the first four marks.
inline constexpr int kKanaDecodeStart = 56;
inline constexpr int kFirstKatakanaIndex = 76;

// Number of elements; 0 for the space, -1 for kNoCode, which has no marker.
int ElementCount(std::uint8_t code);

// Both halves' elements followed by the second half's marker; nullopt when a half has no code
// or the two together exceed kMaxElements.
std::optional<std::uint8_t> MergeProsign(std::uint8_t first, std::uint8_t second);

// Position of `character` in kCharacterList, or -1.
int FindCharacterIndex(std::uint8_t character);

// First built-in code equal to `code`, searched up to the end of the list from
// kKanaDecodeStart in kana mode and from 0 otherwise; -1 when none matches.
int FindDecodedIndex(std::uint8_t code, bool kanaMode);

}  // namespace vantrel::keyer
