#include "loglink/fldigi_route.h"

namespace vantrel::loglink {

FldigiRoute::FldigiRoute(int) {}

LogOutcome FldigiRoute::SendToLog(const std::function<LogContact()>&) {
  return {kLogProgramNotFound};
}

LogOutcome FldigiRoute::FetchFromLog() {
  return {kLogProgramNotFound};
}

}  // namespace vantrel::loglink
