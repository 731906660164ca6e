#pragma once

#include <QFont>
#include <QStringList>

namespace vantrel::ui {

// The windows' 9-point proportional Japanese Gothic, or the nearest installed.
QFont DialogFont();

}  // namespace vantrel::ui
