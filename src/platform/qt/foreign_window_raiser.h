#pragma once

#include <cstdint>

namespace vantrel::platform {

// Asks the window manager to activate another program's top-level window, as a pager would
// (the _NET_ACTIVE_WINDOW request). Only X11 lets one program do that; elsewhere, and for
// window 0, nothing is sent and the result is false.
bool RaiseForeignWindow(std::uint64_t windowId);

}  // namespace vantrel::platform
