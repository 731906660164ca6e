#pragma once

namespace vantrel::platform {

// ALSA and JACK print their own complaints on stderr (a machine without a sound card gets
// dozens while PortAudio looks for devices); this sends them to Trace instead. Idempotent.
void RouteSoundLibraryMessagesToTrace();

}  // namespace vantrel::platform
