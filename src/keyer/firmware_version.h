#pragma once

#include <string>

namespace vantrel::keyer {

// The interface's firmware as 10 * major + minor, read from digits at positions 13 and 15 of
// the product string; a manufacturer beginning with 'J' marks the oldest (PC-timed) firmware.
unsigned FirmwareVersionFromStrings(const std::u16string& product,
                                    const std::u16string& manufacturer);

}  // namespace vantrel::keyer
