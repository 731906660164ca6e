#pragma once

#include <string>
#include <string_view>

namespace vantrel::operating {

// What the macros of a prepared text stand for at the moment of sending.
struct MacroValues {
  std::string myCall;   // "$M"
  std::string hisCall;  // "$C"
  int report = 0;       // "$R"
  std::string number;   // "$N"
};

struct MacroExpansion {
  std::string text;
  bool numberUsed = false;
};

// Replaces "$M", "$C", "$R" and "$N", in that order, every occurrence; each later token is
// looked for in the result of the earlier ones, so a callsign holding "$C" is expanded too.
MacroExpansion ExpandMacros(std::string_view text, const MacroValues& values);

// The text as shown: the prosign marks '~' that the engine needs are left out.
std::string WithoutProsignMarks(std::string_view text);

// The contest number after one send: its numeric tail counted up by one with the width kept
// ("M009" -> "M010", "999" -> "1000"); unchanged when the tail is missing or all zeros.
std::string AdvanceNumber(const std::string& number);

}  // namespace vantrel::operating
