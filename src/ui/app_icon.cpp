#include "ui/app_icon.h"

static void InitResources() {
  Q_INIT_RESOURCE(vantrel);
}

namespace vantrel::ui {

QIcon AppIcon() {
  InitResources();
  return QIcon(QStringLiteral(":/vantrel/vantrel.png"));
}

}  // namespace vantrel::ui
