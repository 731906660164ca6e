#pragma once

#include "keyer/protocol.h"

namespace vantrel::sim {

// The device side speaks the engine's wire protocol; these bring its names into this namespace.
using Report = keyer::CommandReport;
using keyer::kBufferIdle;
using keyer::kLinesAtRest;
using keyer::kReportLength;
using namespace keyer::wire;

}  // namespace vantrel::sim
