#include "operating/log_time.h"

#include <array>

namespace vantrel::operating {

std::tm CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::string TimeStamp(const std::tm& time) {
  std::array<char, 32> buffer{};
  const std::size_t length = std::strftime(buffer.data(), buffer.size(), "%H:%M:%S> ", &time);
  return std::string(buffer.data(), length);
}

}  // namespace vantrel::operating
