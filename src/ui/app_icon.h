#pragma once

#include <QIcon>

namespace vantrel::ui {

// The program icon, from the resources.
QIcon AppIcon();

}  // namespace vantrel::ui
