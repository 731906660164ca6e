#pragma once

namespace vantrel::platform {

// Whether PortAudio may be started on this machine. Its ALSA host aborts the whole process
// inside its device scan when ALSA's configuration is missing or broken, so that is looked at
// first. Checked once per process; a refusal is traced once.
bool SoundSystemUsable();

}  // namespace vantrel::platform
