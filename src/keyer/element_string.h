#pragma once

#include <string>
#include <string_view>

#include "keyer/code_table.h"

namespace vantrel::keyer {

// Symbols of the PC-timed keying: '.' a dot, '-' a dash, ',' a character gap, '_' a word gap.
inline constexpr char kDotSymbol = '.';
inline constexpr char kDashSymbol = '-';
inline constexpr char kCharGapSymbol = ',';
inline constexpr char kWordGapSymbol = '_';

// Appends the symbols of `text`. A '~' runs the characters after it together, without gaps,
// up to the next space or the end of the text; a character without a code is dropped.
void BuildElementString(const CodeTable& table, std::string_view text, std::string& elementString);

}  // namespace vantrel::keyer
