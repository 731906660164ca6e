#include "platform/sound_library_messages.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "platform/diag.h"

namespace vantrel::platform {
namespace {

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

void RouteSoundLibraryMessagesToTrace() {
  static std::once_flag once;
  std::call_once(once, [] {
    snd_lib_error_set_handler(AlsaMessage);
    jack_set_error_function(JackMessage);
    jack_set_info_function(JackMessage);
  });
}

}  // namespace vantrel::platform
