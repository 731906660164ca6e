#include <algorithm>

#include "fuzz_target.h"
#include "sim/script.h"

// Any text parses without throwing, every message names a line of the text, and actions come
// only from lines that gave no error.
void FuzzOne(std::string_view text) {
  const auto parsed = vantrel::sim::ParseScript(text);
  const auto lines = static_cast<std::size_t>(std::ranges::count(text, '\n')) + 1;
  for (const auto& error : parsed.errors) {
    Require(error.line >= 1 && static_cast<std::size_t>(error.line) <= lines, "no such line");
    Require(!vantrel::sim::FormatScriptError(error).empty(), "an empty message");
  }
  Require(parsed.actions.size() + parsed.errors.size() <= lines, "more results than lines");
}
