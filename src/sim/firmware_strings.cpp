#include "sim/firmware_strings.h"

#include <stdexcept>

namespace vantrel::sim {

VersionStrings StringsForVersion(unsigned version) {
  if (version > 99) throw std::invalid_argument("firmware version above 99");
  if (version == 10) return {u"Halvix Keyer", u"Japan Halvix Works"};
  if (version == 99) return {u"Halvix Keyer", u"Halvix Works"};
  std::u16string product = u"Halvix Keyer 0.0";
  product[13] = static_cast<char16_t>(u'0' + version / 10);
  product[15] = static_cast<char16_t>(u'0' + version % 10);
  return {product, u"Halvix Works"};
}

}  // namespace vantrel::sim
