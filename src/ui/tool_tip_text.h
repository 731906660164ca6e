#pragma once

#include <QString>

namespace vantrel::ui {

// A tooltip that shows `text` exactly as it stands, even when it looks like markup; empty
// text gives no tooltip.
QString ToolTipText(const QString& text);

}  // namespace vantrel::ui
