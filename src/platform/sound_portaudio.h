#pragma once

#include <memory>
#include <mutex>

#include "platform/sound.h"

namespace vantrel::platform {

// The tone through PortAudio's default output at the device's own sample rate. The stream
// runs from Open to Close and the callback plays silence while paused, so Start and Pause
// take effect with the next small buffer and cost no more than a flag.
class PortAudioTone final : public ToneOutput {
 public:
  PortAudioTone();
  ~PortAudioTone() override;
  PortAudioTone(const PortAudioTone&) = delete;
  PortAudioTone& operator=(const PortAudioTone&) = delete;

  bool Open(unsigned frequencyHz) override;
  void Start() override;
  void Pause() override;
  void Close() override;

  struct Voice;

 private:
  void CloseLocked();

  std::mutex mutex_;
  std::unique_ptr<Voice> voice_;
  void* stream_ = nullptr;
};

// The sound output this machine offers.
std::unique_ptr<ToneOutput> MakeSystemToneOutput();

}  // namespace vantrel::platform
