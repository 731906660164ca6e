#pragma once

#include <string_view>

namespace vantrel::platform {

// Diagnostic trace of the device link: written to stderr only when VANTREL_DEBUG=1.
void Trace(std::string_view text);
bool TraceEnabled();

}  // namespace vantrel::platform
