#include "ui/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "ui/dialog_template.h"
#include "ui/main_dlg_ids.h"
#include "ui/main_dlg_texts.h"

static void InitResources() {
  Q_INIT_RESOURCE(vantrel);
}

namespace vantrel::ui {
namespace {

constexpr int kAboutWidth = 235;
constexpr int kAboutHeight = 61;

}  // namespace

QIcon AppIcon() {
  InitResources();
  return QIcon(QStringLiteral(":/vantrel/vantrel.png"));
}

std::string AboutVersionText(unsigned firmwareVersion) {
  std::string text = "Halvix Ver." + std::to_string(firmwareVersion);
  text.insert(text.size() - 1, ".");
  return text;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setFont(DialogFont());
  setWindowTitle(kAboutTitle);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  DialogUnits units = DialogUnitsFor(font());
  setFixedSize(units.X(kAboutWidth), units.Y(kAboutHeight));
  auto place = [&units](QWidget* control, int x, int y, int width, int height) {
    control->setGeometry(units.X(x), units.Y(y), units.X(width), units.Y(height));
  };
  auto* icon = new QLabel(this);
  place(icon, 11, 17, 21, 20);
  icon->setPixmap(AppIcon().pixmap(icon->size()));
  place(new QLabel(kAboutProgramLine, this), 40, 10, 130, 8);
  place(new QLabel(kAboutRightsLine, this), 40, 24, 130, 8);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  place(ok, 178, 7, 50, 14);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  version_ = new QLabel(kAboutVersionPlaceholder, this);
  version_->setObjectName(QString::number(kIdAboutVersion));
  place(version_, 40, 38, 130, 8);
}

void CAboutDlg::setVisible(bool visible) {
  if (visible && !isVisible()) version_->setText(versionText_);
  QDialog::setVisible(visible);
}

}  // namespace vantrel::ui
