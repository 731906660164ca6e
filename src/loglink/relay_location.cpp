#include "loglink/relay_location.h"

#include <filesystem>
#include <system_error>

namespace vantrel::loglink {

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

}  // namespace vantrel::loglink
