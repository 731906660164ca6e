#include "ui/tool_tip_text.h"

#include <QTextDocument>

namespace vantrel::ui {

QString ToolTipText(const QString& text) {
  if (text.isEmpty()) return text;
  return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

}  // namespace vantrel::ui
