#pragma once

#include "operating/network_text.h"

namespace vantrel::netkeyer {

// What a network client may do to the running window: the operating logic and the keyer
// settings behind it. Everything runs on the window's thread.
class KeyingTarget {
 public:
  virtual ~KeyingTarget() = default;
  virtual void QueueText(const operating::NetworkText& text) = 0;
  // The stop action; ends a CQ repeat and a tune.
  virtual void Abort() = 0;
  // 4..60 from the protocol; the window keeps within its own 5..50.
  virtual void SetSpeed(unsigned wpm) = 0;
  virtual void SetPtt(bool on) = 0;
  // -50..50 scales the dot and dash weights of the settings; 0 restores them.
  virtual void SetWeight(int weight) = 0;
  // The PC sidetone's pitch in Hz; 0 silences it.
  virtual void SetTone(unsigned hz) = 0;
  virtual void SetPttLeadIn(unsigned ms) = 0;
  // Keys a run of dashes for about `seconds`.
  virtual void Tune(unsigned seconds) = 0;
  // Back to the settings of the running program: speed box, weights, sidetone, lead-in.
  virtual void Reset() = 0;
  virtual bool QueuedTextKeyed() const = 0;
};

}  // namespace vantrel::netkeyer
