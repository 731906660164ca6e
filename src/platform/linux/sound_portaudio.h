#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "platform/sound.h"

namespace vantrel::platform {

// A ±8000 square wave of 16-bit samples whose phase carries on from one buffer to the next.
// The phase counts in whole steps of the frequency, so the average pitch is exact at any
// sample rate. Needs 0 < frequencyHz and 2 × frequencyHz <= sampleRate.
class SquareWave {
 public:
  static constexpr std::int16_t kAmplitude = 8000;

  SquareWave(unsigned frequencyHz, unsigned sampleRate)
      : frequency_(frequencyHz), sampleRate_(sampleRate) {}

  void Fill(std::span<std::int16_t> samples);

 private:
  unsigned frequency_;
  unsigned sampleRate_;
  unsigned phase_ = 0;  // position in the period, in 1/sampleRate of a period
};

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
