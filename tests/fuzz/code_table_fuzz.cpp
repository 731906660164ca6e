#include <string>

#include "fuzz_target.h"
#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/pc_keyer.h"

using namespace vantrel::keyer;

// Every byte a text can hold, with prosign marks among them, so each slot a table file changes
// is looked up, encoded and keyed.
void FuzzOne(std::string_view bytes) {
  CodeTable table;
  table.Load(bytes);
  Require(table.SlotsUsed() <= kCodeTableSize, "more slots than the table holds");
  std::string text = "~AR ~SK ";
  for (int c = 1; c < 256; ++c) text.push_back(static_cast<char>(c));
  std::string elements;
  BuildElementString(table, text, elements);
  Require(elements.find_first_not_of(std::string{kDotSymbol, kDashSymbol, kCharGapSymbol,
                                                 kWordGapSymbol}) == std::string::npos,
          "an element that is no symbol");
  CodeEncoder encoder;
  for (std::size_t at = 0; at < text.size(); at += 3) encoder.Encode(table, text.substr(at, 3));
}
