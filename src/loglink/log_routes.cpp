#include "loglink/log_routes.h"

#include "loglink/fldigi_route.h"
#include "loglink/hamlog_wine_route.h"
#include "loglink/relay_location.h"
#include "loglink/xlog_route.h"

namespace vantrel::loglink {

std::unique_ptr<LogRoute> MakeLogRoute(const LogLinkSettings& settings, ReplyHandler onReply) {
  switch (settings.program) {
    case LogProgram::kFldigiXmlRpc:
      return std::make_unique<FldigiRoute>(settings.port);
    case LogProgram::kXlog:
      return std::make_unique<XlogRoute>(settings.port);
    case LogProgram::kHamlogWine:
      break;
  }
  return std::make_unique<HamlogWineRoute>(settings, RelayLocation(), std::move(onReply));
}

}  // namespace vantrel::loglink
