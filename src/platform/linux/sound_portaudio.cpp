#include "platform/linux/sound_portaudio.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/diag.h"
#include "platform/linux/sound_checks.h"

namespace vantrel::platform {

void SquareWave::Fill(std::span<std::int16_t> samples) {
  for (auto& sample : samples) {
    sample = 2 * phase_ < sampleRate_ ? kAmplitude : -kAmplitude;
    phase_ += frequency_;
    if (phase_ >= sampleRate_) phase_ -= sampleRate_;
  }
}

struct PortAudioTone::Voice {
  explicit Voice(SquareWave w) : wave(w) {}
  SquareWave wave;
  std::atomic<bool> sounding = false;
};

namespace {

constexpr unsigned long kFramesPerBuffer = 128;

std::mutex libraryMutex;
int libraryUsers = 0;

bool AcquirePortAudio() {
  std::lock_guard lock(libraryMutex);
  if (libraryUsers == 0) {
    if (!SoundSystemUsable()) return false;
    RouteSoundLibraryMessagesToTrace();
    if (const PaError error = Pa_Initialize(); error != paNoError) {
      Trace(std::string("Pa_Initialize: ") + Pa_GetErrorText(error));
      return false;
    }
  }
  ++libraryUsers;
  return true;
}

void ReleasePortAudio() {
  std::lock_guard lock(libraryMutex);
  if (--libraryUsers == 0) Pa_Terminate();
}

int Render(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
           PaStreamCallbackFlags, void* user) {
  auto& voice = *static_cast<PortAudioTone::Voice*>(user);
  const std::span samples(static_cast<std::int16_t*>(output), frames);
  if (voice.sounding.load(std::memory_order_relaxed)) {
    voice.wave.Fill(samples);
  } else {
    std::fill(samples.begin(), samples.end(), 0);
  }
  return paContinue;
}

struct Output {
  PaStreamParameters parameters;
  double sampleRate;
};

// Mono 16-bit on the default device, at its own rate and its lowest usual latency.
std::optional<Output> DefaultOutput() {
  const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
  if (device == paNoDevice) return std::nullopt;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  if (info == nullptr) return std::nullopt;
  return Output{{device, 1, paInt16, info->defaultLowOutputLatency, nullptr},
                info->defaultSampleRate};
}

bool Failed(PaError error, const char* step) {
  if (error == paNoError) return false;
  Trace(std::string(step) + ": " + Pa_GetErrorText(error));
  return true;
}

}  // namespace

PortAudioTone::PortAudioTone() = default;

PortAudioTone::~PortAudioTone() {
  Close();
}

bool PortAudioTone::Open(unsigned frequencyHz) {
  std::lock_guard lock(mutex_);
  CloseLocked();
  if (frequencyHz == 0 || !AcquirePortAudio()) return false;
  const auto output = DefaultOutput();
  if (!output || output->sampleRate < 2.0 * frequencyHz) {
    Trace("No sound output for the tone");
    ReleasePortAudio();
    return false;
  }
  voice_ =
      std::make_unique<Voice>(SquareWave(frequencyHz, static_cast<unsigned>(output->sampleRate)));
  PaStream* stream = nullptr;
  if (Failed(Pa_OpenStream(&stream, nullptr, &output->parameters, output->sampleRate,
                           kFramesPerBuffer, paClipOff, Render, voice_.get()),
             "Pa_OpenStream") ||
      Failed(Pa_StartStream(stream), "Pa_StartStream")) {
    if (stream != nullptr) Pa_CloseStream(stream);
    voice_.reset();
    ReleasePortAudio();
    return false;
  }
  stream_ = stream;
  return true;
}

void PortAudioTone::Start() {
  std::lock_guard lock(mutex_);
  if (voice_) voice_->sounding = true;
}

void PortAudioTone::Pause() {
  std::lock_guard lock(mutex_);
  if (voice_) voice_->sounding = false;
}

void PortAudioTone::Close() {
  std::lock_guard lock(mutex_);
  CloseLocked();
}

void PortAudioTone::CloseLocked() {
  if (stream_ == nullptr) return;
  Pa_AbortStream(stream_);
  Pa_CloseStream(stream_);
  stream_ = nullptr;
  voice_.reset();
  ReleasePortAudio();
}

std::unique_ptr<ToneOutput> MakeSystemToneOutput() {
  return std::make_unique<PortAudioTone>();
}

}  // namespace vantrel::platform
