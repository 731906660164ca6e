#include "keyer/morse_code.h"

#include <algorithm>
#include <bit>
#include <string_view>

namespace vantrel::keyer {
namespace {

struct Builtin {
  std::uint8_t character;
  std::string_view elements;
};

// The row order is the decode index (see kCharacterList).
constexpr std::array<Builtin, kCharacterCount> kBuiltins = {{
    // Latin letters; lower case keys as upper case
    {'A', ".-"},
    {'B', "-..."},
    {'C', "-.-."},
    {'D', "-.."},
    {'E', "."},
    {'F', "..-."},
    {'G', "--."},
    {'H', "...."},
    {'I', ".."},
    {'J', ".---"},
    {'K', "-.-"},
    {'L', ".-.."},
    {'M', "--"},
    {'N', "-."},
    {'O', "---"},
    {'P', ".--."},
    {'Q', "--.-"},
    {'R', ".-."},
    {'S', "..."},
    {'T', "-"},
    {'U', "..-"},
    {'V', "...-"},
    {'W', ".--"},
    {'X', "-..-"},
    {'Y', "-.--"},
    {'Z', "--.."},
    {'a', ".-"},
    {'b', "-..."},
    {'c', "-.-."},
    {'d', "-.."},
    {'e', "."},
    {'f', "..-."},
    {'g', "--."},
    {'h', "...."},
    {'i', ".."},
    {'j', ".---"},
    {'k', "-.-"},
    {'l', ".-.."},
    {'m', "--"},
    {'n', "-."},
    {'o', "---"},
    {'p', ".--."},
    {'q', "--.-"},
    {'r', ".-."},
    {'s', "..."},
    {'t', "-"},
    {'u', "..-"},
    {'v', "...-"},
    {'w', ".--"},
    {'x', "-..-"},
    {'y', "-.--"},
    {'z', "--.."},
    // Punctuation and digits
    {'(', "-.--."},
    {'+', ".-.-."},
    {'=', "-...-"},
    {'/', "-..-."},
    {'0', "-----"},
    {'1', ".----"},
    {'2', "..---"},
    {'3', "...--"},
    {'4', "....-"},
    {'5', "....."},
    {'6', "-...."},
    {'7', "--..."},
    {'8', "---.."},
    {'9', "----."},
    {'@', ".--.-."},
    {' ', ""},
    {'.', ".-.-.-"},
    {',', "--..--"},
    {'"', ".-..-."},
    {'\'', ".----."},
    {'?', "..--.."},
    {'-', "-....-"},
    {')', "-.--.-"},
    {':', "---..."},
    // Half-width katakana (Wabun)
    {0xB1, "--.--"},   // ｱ
    {0xB2, ".-"},      // ｲ
    {0xB3, "..-"},     // ｳ
    {0xB4, "-.---"},   // ｴ
    {0xB5, ".-..."},   // ｵ
    {0xB6, ".-.."},    // ｶ
    {0xB7, "-.-.."},   // ｷ
    {0xB8, "...-"},    // ｸ
    {0xB9, "-.--"},    // ｹ
    {0xBA, "----"},    // ｺ
    {0xBB, "-.-.-"},   // ｻ
    {0xBC, "--.-."},   // ｼ
    {0xBD, "---.-"},   // ｽ
    {0xBE, ".---."},   // ｾ
    {0xBF, "---."},    // ｿ
    {0xC0, "-."},      // ﾀ
    {0xC1, "..-."},    // ﾁ
    {0xC2, ".--."},    // ﾂ
    {0xC3, ".-.--"},   // ﾃ
    {0xC4, "..-.."},   // ﾄ
    {0xC5, ".-."},     // ﾅ
    {0xC6, "-.-."},    // ﾆ
    {0xC7, "...."},    // ﾇ
    {0xC8, "--.-"},    // ﾈ
    {0xC9, "..--"},    // ﾉ
    {0xCA, "-..."},    // ﾊ
    {0xCB, "--..-"},   // ﾋ
    {0xCC, "--.."},    // ﾌ
    {0xCD, "."},       // ﾍ
    {0xCE, "-.."},     // ﾎ
    {0xCF, "-..-"},    // ﾏ
    {0xD0, "..-.-"},   // ﾐ
    {0xD1, "-"},       // ﾑ
    {0xD2, "-...-"},   // ﾒ
    {0xD3, "-..-."},   // ﾓ
    {0xD4, ".--"},     // ﾔ
    {0xD5, "-..--"},   // ﾕ
    {0xD6, "--"},      // ﾖ
    {0xD7, "..."},     // ﾗ
    {0xD8, "--."},     // ﾘ
    {0xD9, "-.--."},   // ﾙ
    {0xDA, "---"},     // ﾚ
    {0xDB, ".-.-"},    // ﾛ
    {0xDC, "-.-"},     // ﾜ
    {0xA6, ".---"},    // ｦ
    {0xDD, ".-.-."},   // ﾝ
    {0xB0, ".--.-"},   // ｰ
    {0xDE, ".."},      // ﾞ
    {0xDF, "..--."},   // ﾟ
    {0xA3, ".-.-.."},  // ｣
}};

constexpr std::uint8_t EncodeElements(std::string_view elements) {
  auto code = static_cast<std::uint8_t>(0x80u >> elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (elements[i] == '-') code |= static_cast<std::uint8_t>(0x80u >> i);
  }
  return code;
}

constexpr bool AllElementStringsFit() {
  return std::all_of(kBuiltins.begin(), kBuiltins.end(), [](const Builtin& row) {
    return row.elements.size() <= kMaxElements &&
           row.elements.find_first_not_of(".-") == std::string_view::npos;
  });
}
static_assert(AllElementStringsFit());

template <typename Column>
constexpr std::array<std::uint8_t, kCharacterCount> Select(Column column) {
  std::array<std::uint8_t, kCharacterCount> values{};
  std::transform(kBuiltins.begin(), kBuiltins.end(), values.begin(), column);
  return values;
}

}  // namespace

const std::array<std::uint8_t, kCharacterCount> kCharacterList =
    Select([](const Builtin& row) { return row.character; });
const std::array<std::uint8_t, kCharacterCount> kBuiltinCodes =
    Select([](const Builtin& row) { return EncodeElements(row.elements); });

int ElementCount(std::uint8_t code) {
  if (code == kNoCode) return -1;
  return kMaxElements - std::countr_zero(code);
}

std::optional<std::uint8_t> MergeProsign(std::uint8_t first, std::uint8_t second) {
  const int firstCount = ElementCount(first);
  const int secondCount = ElementCount(second);
  if (firstCount < 0 || secondCount < 0 || firstCount + secondCount > kMaxElements) {
    return std::nullopt;
  }
  const unsigned firstMask = (0xFF00u >> firstCount) & 0xFFu;
  return static_cast<std::uint8_t>((first & firstMask) | (second >> firstCount));
}

int FindCharacterIndex(std::uint8_t character) {
  const auto* found = std::find(kCharacterList.begin(), kCharacterList.end(), character);
  return found == kCharacterList.end() ? -1 : static_cast<int>(found - kCharacterList.begin());
}

int FindDecodedIndex(std::uint8_t code, bool kanaMode) {
  const auto start = kBuiltinCodes.begin() + (kanaMode ? kKanaDecodeStart : 0);
  const auto found = std::find(start, kBuiltinCodes.end(), code);
  return found == kBuiltinCodes.end() ? -1 : static_cast<int>(found - kBuiltinCodes.begin());
}

}  // namespace vantrel::keyer
