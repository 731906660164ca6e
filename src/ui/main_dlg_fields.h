#pragma once

#include "operating/window_fields.h"

namespace vantrel::ui {

// The window's fields are the operating logic's: both act on the one set of values.
using MainDlgFields = operating::WindowFields;

}  // namespace vantrel::ui
