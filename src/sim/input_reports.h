#pragma once

#include <array>
#include <cstdint>

#include "sim/panel.h"
#include "sim/wire_names.h"

namespace vantrel::sim {

inline constexpr std::uint8_t kBufferIdle = 15;

// A report of firmware 20 and later: the kind, its three body bytes, then the panel and the
// buffer state in bytes 5 to 8. Firmware below 20 leaves bytes 5 to 8 at 0.
Report PanelReport(unsigned firmware, const PanelState& panel, std::uint8_t bufferState,
                   std::uint8_t kind, std::array<std::uint8_t, 3> body = {});

// The reply of firmware below 20 to each command: the paddle contacts and the poll mark 3.
Report InputLineReport(std::uint8_t contacts);

// A status report of an idle interface, which the event log leaves out when it repeats.
bool IsIdleStatus(const Report& report);

}  // namespace vantrel::sim
