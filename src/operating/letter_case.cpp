#include "operating/letter_case.h"

namespace vantrel::operating {

std::string ApplyShiftCase(std::string character, bool shift) {
  if (character.size() != 1) return character;
  char& c = character.front();
  if (!shift && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (shift && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return character;
}

}  // namespace vantrel::operating
