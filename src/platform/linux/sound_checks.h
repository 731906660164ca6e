#pragma once

namespace vantrel::platform {

// Whether PortAudio may be started on this machine. Its ALSA host aborts the whole process
// inside its device scan when ALSA's configuration is missing or broken, so that is looked at
// first. Checked once per process; a refusal is traced once.
bool SoundSystemUsable();

// ALSA and JACK print their own complaints on stderr (a machine without a sound card gets
// dozens while PortAudio looks for devices); this sends them to Trace instead. Idempotent.
void RouteSoundLibraryMessagesToTrace();

}  // namespace vantrel::platform
