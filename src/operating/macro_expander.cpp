#include "operating/macro_expander.h"

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

}  // namespace vantrel::operating
