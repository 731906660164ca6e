#pragma once

namespace vantrel::platform {

// A square-wave tone that is opened at one frequency and gated on and off.
class ToneOutput {
 public:
  virtual ~ToneOutput() = default;
  // Opens the tone paused; false when no sound device can be used.
  virtual bool Open(unsigned frequencyHz) = 0;
  virtual void Start() = 0;
  virtual void Pause() = 0;
  virtual void Close() = 0;
};

}  // namespace vantrel::platform
