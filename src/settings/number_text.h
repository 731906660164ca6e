#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::settings {

// Leading-number reads as strtol and strtod do (blanks skipped, the first other character
// ends the number, no number reads as 0), independent of the process locale.
long LeadingInteger(std::string_view text);
double LeadingDecimal(std::string_view text);

// Whole-text reads for edit fields: surrounding blanks allowed, nothing else.
std::optional<double> ParseDecimal(std::string_view text);
std::optional<unsigned long> ParseUnsigned(std::string_view text);

// "%lf": six decimals.
std::string FormatSixDecimals(double value);
// "%g": shortest form with at most six significant digits.
std::string FormatShortDecimal(double value);

}  // namespace vantrel::settings
