#pragma once

#include "loglink/log_link_settings.h"
#include "settings/profile_file.h"

namespace vantrel::settings {

// The profile file's section "LogLink": Program (hamlog-wine, fldigi or xlog), Wine,
// WinePrefix and Port. Missing keys, an unknown program and a port out of range read as the
// defaults.
loglink::LogLinkSettings LoadLogLinkSettings(const ProfileFile& profile);

// Writes the four keys; false when the file could not be written.
bool SaveLogLinkSettings(const ProfileFile& profile, const loglink::LogLinkSettings& settings);

}  // namespace vantrel::settings
