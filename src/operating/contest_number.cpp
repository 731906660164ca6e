#include "operating/contest_number.h"

#include <algorithm>

namespace vantrel::operating {
namespace {

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
