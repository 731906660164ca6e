#include "sim/sidetone.h"

#include <cmath>

#include "keyer/firmware_profile.h"

namespace vantrel::sim {

unsigned SidetoneHz(unsigned firmwareVersion, unsigned sidetoneIndex) {
  const keyer::FirmwareProfile firmware = keyer::ProfileFor(firmwareVersion);
  if (firmware.pcTimedKeying) return 0;
  if (!firmware.interfaceSidetone) return 558;
  if (sidetoneIndex == 0 || sidetoneIndex > 13) return 0;
  return static_cast<unsigned>(std::lround(3906.25 / sidetoneIndex));
}

Sidetone::~Sidetone() {
  if (open_) tone_.Close();
}

void Sidetone::Key(bool down, unsigned hz) {
  if (!down) {
    if (open_) tone_.Pause();
    return;
  }
  if (hz == 0) return;
  if (hz != openHz_) {
    if (open_) tone_.Close();
    open_ = tone_.Open(hz);
    openHz_ = hz;
  }
  if (open_) tone_.Start();
}

}  // namespace vantrel::sim
