#pragma once

#include <string>

namespace vantrel::ui {

// "Halvix Ver.%d" of the firmware version with a point before its last digit: 23 gives
// "Halvix Ver.2.3", 0 (no interface) "Halvix Ver..0".
std::string AboutVersionText(unsigned firmwareVersion);

}  // namespace vantrel::ui
