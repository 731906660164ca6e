#pragma once

#include <string>

namespace vantrel::operating {

// A typed letter is upper case unless Shift is held, whatever Caps Lock says; other
// characters are left as they are.
std::string ApplyShiftCase(std::string character, bool shift);

}  // namespace vantrel::operating
