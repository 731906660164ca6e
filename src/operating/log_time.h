#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace vantrel::operating {

// Where the time stamps in the log come from; tests hand in a fixed time.
using LocalTimeClock = std::function<std::tm()>;

std::tm CurrentLocalTime();

// "%H:%M:%S> ", the stamp in front of a logged text.
std::string TimeStamp(const std::tm& time);

}  // namespace vantrel::operating
