#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace vantrel::keyer {

inline constexpr char kTableFileName[] = "Vantrel.tbl";
inline constexpr std::size_t kCodeTableSize = 256;

struct CodeSlot {
  std::uint8_t character = 0;
  std::uint8_t code = 0;
};

// The built-in characters in slots 0 to 125, characters added by the table file behind them,
// free slots (0, 0). A lookup stops at the first slot holding the character or a free slot, so
// where a character stands twice the lower slot wins.
class CodeTable {
 public:
  CodeTable();

  // Lines "%c %s": a character, then its elements ('.' or 0xA5 a dot, '-' or '_' a dash).
  // A file that cannot be opened or read leaves the table as it is.
  void LoadFile(const std::string& path);
  void Load(std::istream& in);
  void Load(std::string_view fileBytes);

  // kNoCode when the character has no slot.
  std::uint8_t Lookup(std::uint8_t character) const;

  const CodeSlot& Slot(std::size_t index) const { return slots_[index]; }
  std::size_t SlotsUsed() const { return used_; }

 private:
  void Define(std::uint8_t character, std::uint8_t code);

  std::array<CodeSlot, kCodeTableSize> slots_{};
  std::size_t used_ = 0;
};

// The built-in table with the table file of the working directory applied, if there is one.
CodeTable LoadCodeTable(const std::string& path = kTableFileName);

}  // namespace vantrel::keyer
