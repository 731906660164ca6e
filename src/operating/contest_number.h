#pragma once

#include <string>

namespace vantrel::operating {

// The contest number after one send: its numeric tail counted up by one with the width kept
// ("M009" -> "M010", "999" -> "1000"); unchanged when the tail is missing or all zeros.
std::string AdvanceNumber(const std::string& number);

}  // namespace vantrel::operating
