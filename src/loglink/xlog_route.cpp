#include "loglink/xlog_route.h"

namespace vantrel::loglink {

XlogRoute::XlogRoute(int) {}

LogOutcome XlogRoute::SendToLog(const std::function<LogContact()>&) {
  return {kLogProgramNotFound};
}

LogOutcome XlogRoute::FetchFromLog() {
  return {kLogProgramNotFound};
}

}  // namespace vantrel::loglink
