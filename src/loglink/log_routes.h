#pragma once

#include <memory>

#include "loglink/log_link_settings.h"
#include "loglink/log_route.h"

namespace vantrel::loglink {

// The route to the logging program the settings choose.
std::unique_ptr<LogRoute> MakeLogRoute(const LogLinkSettings& settings, ReplyHandler onReply);

}  // namespace vantrel::loglink
