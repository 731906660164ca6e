#include "ui/dialog_font.h"

namespace vantrel::ui {

QFont DialogFont() {
  QFont font;
  font.setFamilies(QStringList{QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                               QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(9);
  return font;
}

}  // namespace vantrel::ui
