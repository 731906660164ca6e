#include "operating/macro_expander.h"

#include <algorithm>

namespace vantrel::operating {
namespace {

// Replaces every occurrence left to right; a replacement is not searched again for the same
// token. Returns whether anything was replaced.
bool ReplaceAll(std::string& text, std::string_view token, std::string_view replacement) {
  bool replaced = false;
  for (auto at = text.find(token); at != std::string::npos;
       at = text.find(token, at + replacement.size())) {
    text.replace(at, token.size(), replacement);
    replaced = true;
  }
  return replaced;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Decimal digits plus one, without leading zeros. Done on the digits so that no length of
// tail can overflow.
std::string Increment(std::string digits) {
  digits.erase(0, digits.find_first_not_of('0'));
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return digits;
    }
    *it = '0';
  }
  return '1' + digits;
}

}  // namespace

MacroExpansion ExpandMacros(std::string_view text, const MacroValues& values) {
  MacroExpansion result{std::string(text), false};
  ReplaceAll(result.text, "$M", values.myCall);
  ReplaceAll(result.text, "$C", values.hisCall);
  ReplaceAll(result.text, "$R", std::to_string(values.report));
  result.numberUsed = ReplaceAll(result.text, "$N", values.number);
  return result;
}

std::string WithoutProsignMarks(std::string_view text) {
  std::string shown(text);
  std::erase(shown, '~');
  return shown;
}

std::string AdvanceNumber(const std::string& number) {
  const auto tailStart = std::find_if_not(number.rbegin(), number.rend(), IsDigit).base();
  const std::string prefix(number.begin(), tailStart);
  const std::string tail(tailStart, number.end());
  if (tail.find_first_not_of('0') == std::string::npos) return number;

  std::string value = Increment(tail);
  if (prefix.size() + value.size() < number.size()) {
    value.insert(0, number.size() - prefix.size() - value.size(), '0');
  }
  return prefix + value;
}

}  // namespace vantrel::operating
