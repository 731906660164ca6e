#include "keyer/firmware_version.h"

namespace vantrel::keyer {
namespace {

// Only the low byte of each UTF-16 unit counts, as for an 8-bit copy of the string.
int DigitAt(const std::u16string& text, std::size_t pos) {
  if (pos >= text.size()) return -1;
  const auto byte = static_cast<unsigned char>(text[pos] & 0xFF);
  return byte >= '0' && byte <= '9' ? byte - '0' : -1;
}

}  // namespace

unsigned FirmwareVersionFromStrings(const std::u16string& product,
                                    const std::u16string& manufacturer) {
  const int major = DigitAt(product, 13);
  const int minor = DigitAt(product, 15);
  if (major >= 0 && minor >= 0) return static_cast<unsigned>(10 * major + minor);
  if (!manufacturer.empty() && (manufacturer[0] & 0xFF) == 'J') return 10;
  return 99;
}

}  // namespace vantrel::keyer
