#include "ui/main_dlg_layout.h"

#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "settings/setup_dlg_layout.h"
#include "ui/dialog_font.h"
#include "ui/main_dlg_template.h"
#include "ui/up_down_control.h"

namespace vantrel::ui {
namespace {

using K = MainControlKind;

// A label's mnemonic moves the focus to its buddy and nothing more: Qt's own label would click a
// function button, and only F1 ... F10 or a click may send a stored message.
class FocusingLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::Shortcut) return QLabel::event(event);
    if (buddy() != nullptr && buddy()->focusPolicy() != Qt::NoFocus)
      buddy()->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
};

QPushButton* MakeButton(QDialog* dialog, const QString& caption, K kind) {
  auto* button = new QPushButton(caption, dialog);
  button->setDefault(kind == K::kDefaultButton);
  if (kind == K::kToggle) {
    button->setCheckable(true);
    button->setAutoDefault(false);
  }
  // The function buttons are narrow: a thin margin leaves their captions readable.
  if (kind == K::kLeftAlignedButton) {
    button->setStyleSheet(QStringLiteral("text-align: left; padding: 0px 2px"));
  }
  if (kind == K::kNarrowButton) button->setStyleSheet(QStringLiteral("padding: 0px 1px"));
  return button;
}

QWidget* MakeControl(QDialog* dialog, const MainControlSpec& spec) {
  QString caption = QString::fromUtf8(spec.caption);
  switch (spec.kind) {
    case K::kLineEdit:
      return new QLineEdit(dialog);
    case K::kDigitsEdit: {
      auto* edit = new QLineEdit(dialog);
      edit->setValidator(
          new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
      return edit;
    }
    case K::kUpDown:
      return new UpDownControl(dialog);
    case K::kLog: {
      auto* log = new QPlainTextEdit(dialog);
      log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      log->setTabChangesFocus(true);
      return log;
    }
    case K::kLabel:
      return new FocusingLabel(caption, dialog);
    case K::kGroupBox:
      return new QGroupBox(caption, dialog);
    case K::kRadio:
      return new QRadioButton(caption, dialog);
    case K::kToggle:
    case K::kButton:
    case K::kDefaultButton:
    case K::kLeftAlignedButton:
    case K::kNarrowButton:
      return MakeButton(dialog, caption, spec.kind);
  }
  return nullptr;
}

void Connect(const std::map<int, QWidget*>& controls,
             const std::vector<std::pair<const MainControlSpec*, QWidget*>>& made) {
  for (std::size_t i = 0; i < made.size(); ++i) {
    const auto& [spec, control] = made[i];
    if (spec->buddy != 0) static_cast<QLabel*>(control)->setBuddy(controls.at(spec->buddy));
    if (spec->kind == K::kUpDown && i > 0) {
      static_cast<UpDownControl*>(control)->SetBuddy(static_cast<QLineEdit*>(made[i - 1].second));
    }
  }
}

}  // namespace

std::map<int, QWidget*> BuildMainDialog(QDialog* dialog) {
  dialog->setFont(DialogFont());
  settings::DialogUnits units = settings::DialogUnitsFor(dialog->font());
  dialog->setFixedSize(units.X(kMainDialogWidth), units.Y(kMainDialogHeight));
  std::map<int, QWidget*> controls;
  std::vector<std::pair<const MainControlSpec*, QWidget*>> made;
  for (const MainControlSpec& spec : MainDialogTemplate()) {
    QWidget* control = MakeControl(dialog, spec);
    control->setGeometry(units.X(spec.x), units.Y(spec.y), units.X(spec.width),
                         units.Y(spec.height));
    // A label is never narrower than its text, which another font may need.
    if (spec.kind == K::kLabel)
      control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
    if (spec.id != 0) controls[spec.id] = control;
    made.emplace_back(&spec, control);
  }
  Connect(controls, made);
  return controls;
}

}  // namespace vantrel::ui
