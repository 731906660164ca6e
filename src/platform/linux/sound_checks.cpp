#include "platform/linux/sound_checks.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "platform/diag.h"

namespace vantrel::platform {
namespace {

// The refusal below says it all; ALSA's own complaint would be a second line.
void Silent(const char*, int, const char*, int, const char*, ...) {}

// PortAudio asserts that its device scan finds at least one device; the configuration's
// "default" device is always counted, and without a configuration no card is reachable.
bool AlsaHasDefaultDevice() {
  snd_lib_error_set_handler(Silent);
  snd_config_t* device = nullptr;
  const bool found =
      snd_config_update() >= 0 && snd_config_search(snd_config, "pcm.default", &device) >= 0;
  snd_lib_error_set_handler(nullptr);
  if (!found) {
    Trace(
        "No PC sidetone: the ALSA configuration is missing or defines no default device; "
        "keying goes on without a tone");
  }
  return found;
}

void AlsaMessage(const char* file, int line, const char* function, int, const char* format, ...) {
  if (!TraceEnabled()) return;
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  char located[768];
  std::snprintf(located, sizeof located, "ALSA %s:%d (%s) %s", file, line, function, text);
  Trace(located);
}

void JackMessage(const char* text) {
  Trace(text);
}

}  // namespace

bool SoundSystemUsable() {
  static std::once_flag once;
  static bool usable = false;
  std::call_once(once, [] { usable = AlsaHasDefaultDevice(); });
  return usable;
}

void RouteSoundLibraryMessagesToTrace() {
  static std::once_flag once;
  std::call_once(once, [] {
    snd_lib_error_set_handler(AlsaMessage);
    jack_set_error_function(JackMessage);
    jack_set_info_function(JackMessage);
  });
}

}  // namespace vantrel::platform
