#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/pc_keyer.h"

namespace {

using namespace vantrel::keyer;

// Every byte a text can hold, with prosign marks among them, so each slot a table file
// changes is looked up, encoded and keyed.
std::string EveryCharacter() {
  std::string text = "~AR ~SK ";
  for (int c = 1; c < 256; ++c) text.push_back(static_cast<char>(c));
  return text;
}

bool OnlyElementSymbols(std::string_view elements) {
  return elements.find_first_not_of(std::string{kDotSymbol, kDashSymbol, kCharGapSymbol,
                                                kWordGapSymbol}) == std::string_view::npos;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CodeTable table;
  table.Load(std::string_view(reinterpret_cast<const char*>(data), size));
  Require(table.SlotsUsed() <= kCodeTableSize);

  static const std::string text = EveryCharacter();
  std::string elements;
  BuildElementString(table, text, elements);
  Require(OnlyElementSymbols(elements));

  CodeEncoder encoder;
  for (std::size_t at = 0; at < text.size(); at += 3) {
    encoder.Encode(table, std::string_view(text).substr(at, 3));
  }
  return 0;
}
