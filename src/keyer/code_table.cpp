#include "keyer/code_table.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "keyer/morse_code.h"

namespace vantrel::keyer {
namespace {

// Lines are read in pieces of at most this many bytes; the rest of a longer line is read as
// a line of its own.
constexpr std::size_t kLinePieceBytes = 255;
constexpr std::uint8_t kHalfWidthMiddleDot = 0xA5;

struct TableEntry {
  std::uint8_t character;
  std::uint8_t code;
};

bool IsBlank(char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
         byte == '\r';
}

bool ReadLinePiece(std::istream& in, std::string& piece) {
  piece.clear();
  char byte = 0;
  while (piece.size() < kLinePieceBytes && in.get(byte)) {
    piece.push_back(byte);
    if (byte == '\n') break;
  }
  return !piece.empty();
}

std::uint8_t CodeFromElements(std::string_view elements) {
  std::uint8_t code = kSpaceCode;
  for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
    const auto symbol = static_cast<std::uint8_t>(*it);
    if (symbol == '.' || symbol == kHalfWidthMiddleDot) {
      code >>= 1;
    } else if (symbol == '-' || symbol == '_') {
      code = static_cast<std::uint8_t>((code >> 1) | 0x80);
    }
  }
  return code;
}

// A NUL ends the line, as for any C string; a line without an element string defines nothing.
std::optional<TableEntry> ParseLine(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  if (line.empty() || line.front() == ';') return std::nullopt;
  std::size_t start = 1;
  while (start < line.size() && IsBlank(line[start])) ++start;
  std::size_t end = start;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  if (end == start) return std::nullopt;
  const std::size_t length = std::min<std::size_t>(end - start, kMaxElements);
  return TableEntry{static_cast<std::uint8_t>(line.front()),
                    CodeFromElements(line.substr(start, length))};
}

}  // namespace

CodeTable::CodeTable() {
  for (std::size_t i = 0; i < kCharacterCount; ++i) {
    slots_[i] = CodeSlot{kCharacterList[i], kBuiltinCodes[i]};
  }
  used_ = kCharacterCount;
}

void CodeTable::LoadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (in) Load(in);
}

void CodeTable::Load(std::istream& in) {
  std::string piece;
  while (ReadLinePiece(in, piece)) {
    if (const auto entry = ParseLine(piece)) Define(entry->character, entry->code);
  }
}

void CodeTable::Load(std::string_view fileBytes) {
  std::istringstream in{std::string(fileBytes)};
  Load(in);
}

std::uint8_t CodeTable::Lookup(std::uint8_t character) const {
  for (const CodeSlot& slot : slots_) {
    if (slot.character == character) return slot.code;
    if (slot.character == 0) break;
  }
  return kNoCode;
}

// Built-in characters are changed in place; a table full of additions takes no more.
void CodeTable::Define(std::uint8_t character, std::uint8_t code) {
  const int index = FindCharacterIndex(character);
  if (index >= 0) {
    slots_[static_cast<std::size_t>(index)].code = code;
  } else if (used_ < kCodeTableSize) {
    slots_[used_++] = CodeSlot{character, code};
  }
}

CodeTable LoadCodeTable(const std::string& path) {
  CodeTable table;
  table.LoadFile(path);
  return table;
}

}  // namespace vantrel::keyer
