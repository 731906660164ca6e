#pragma once

#include "platform/sound.h"

namespace vantrel::sim {

// Pitch of the interface's own sidetone: from 23 on the chosen index of 3906.25 Hz / n (0 is
// silent), from 20 to 22 a fixed 558 Hz. Older interfaces leave the tone to the PC.
unsigned SidetoneHz(unsigned firmwareVersion, unsigned sidetoneIndex);

// Sounds the interface's sidetone through a tone output while the key is down.
class Sidetone {
 public:
  explicit Sidetone(platform::ToneOutput& tone) : tone_(tone) {}
  ~Sidetone();
  Sidetone(const Sidetone&) = delete;
  Sidetone& operator=(const Sidetone&) = delete;

  void Key(bool down, unsigned hz);

 private:
  platform::ToneOutput& tone_;
  unsigned openHz_ = 0;
  bool open_ = false;
};

}  // namespace vantrel::sim
