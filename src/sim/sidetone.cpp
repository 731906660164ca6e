#include "sim/sidetone.h"

#include <cmath>

namespace vantrel::sim {

unsigned SidetoneHz(unsigned firmwareVersion, unsigned sidetoneIndex) {
  if (firmwareVersion < 20) return 0;
  if (firmwareVersion < 23) return 558;
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
