#include "keyer/element_string.h"

#include <cstdint>

#include "keyer/morse_code.h"

namespace vantrel::keyer {
namespace {

void AppendElements(std::uint8_t code, std::string& elementString) {
  for (int i = ElementCount(code); i > 0; --i) {
    elementString.push_back((code & 0x80) != 0 ? kDashSymbol : kDotSymbol);
    code = static_cast<std::uint8_t>(code << 1);
  }
}

}  // namespace

void BuildElementString(const CodeTable& table, std::string_view text, std::string& elementString) {
  bool prosign = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char byte = text[i];
    if (byte == kWordSpace) {
      elementString.push_back(kWordGapSymbol);
      prosign = false;
    } else if (byte == kProsignMark) {
      prosign = true;
    } else if (const std::uint8_t code = table.Lookup(static_cast<std::uint8_t>(byte));
               code != kNoCode) {
      AppendElements(code, elementString);
      const bool spaceFollows = i + 1 < text.size() && text[i + 1] == kWordSpace;
      if (!prosign && !spaceFollows) elementString.push_back(kCharGapSymbol);
    }
  }
}

}  // namespace vantrel::keyer
