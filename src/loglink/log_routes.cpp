#include "loglink/log_routes.h"

#include <filesystem>
#include <system_error>

#include "loglink/fldigi_route.h"
#include "loglink/hamlog_wine_route.h"
#include "loglink/xlog_route.h"

namespace vantrel::loglink {
namespace {

constexpr char kRelayFileName[] = "vantrel-hamlog-relay.exe";

// Where the Turbo HAMLOG relay is, found from the running program's own path: beside an
// installed program in its libexec folder, or in a build tree's tools folder. Empty when it
// is in neither place.
std::string RelayLocation() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  for (const char* folder : {VANTREL_RELAY_INSTALLED_DIR, VANTREL_RELAY_BUILD_DIR}) {
    const std::filesystem::path relay = program.parent_path() / folder / kRelayFileName;
    if (std::filesystem::exists(relay, error)) return relay.lexically_normal().string();
  }
  return {};
}

}  // namespace

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
