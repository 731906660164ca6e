#include "keyer/protocol.h"

#include <algorithm>

namespace vantrel::keyer {

CommandReport MakeCommand(Command command, std::initializer_list<std::uint8_t> params) {
  CommandReport report{};
  report[1] = command;
  std::copy_n(params.begin(), std::min<std::size_t>(params.size(), 7), report.begin() + 2);
  return report;
}

CommandReport MakeAllLinesCommand(Command command, std::uint8_t value) {
  CommandReport report{};
  report[1] = command;
  std::fill(report.begin() + 2, report.end(), value);
  return report;
}

std::uint8_t EncodeWeight(float weight) {
  return static_cast<std::uint8_t>(static_cast<unsigned>(weight * 2.0f) & 0xFF);
}

}  // namespace vantrel::keyer
