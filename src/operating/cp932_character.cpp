#include "operating/cp932_character.h"

namespace vantrel::operating {
namespace {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::size_t FirstCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  return IsLeadByte(static_cast<unsigned char>(text.front())) && text.size() > 1 ? 2 : 1;
}

}  // namespace vantrel::operating
