#include "ui/dialog_template.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include <algorithm>

#include "ui/cp932_validator.h"
#include "ui/up_down_control.h"

namespace vantrel::ui {
namespace {

using K = ControlKind;

constexpr int kEditMarginTrim = 2;

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

QPushButton* MakeButton(QDialog* dialog, const QString& caption, K kind,
                        const DialogTemplate& dialogTemplate) {
  auto* button = new QPushButton(caption, dialog);
  if (!dialogTemplate.focusedButtonIsDefault) button->setAutoDefault(false);
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

QWidget* MakeEdit(QDialog* dialog, const ControlSpec& spec, const DialogTemplate& dialogTemplate) {
  auto* edit = new QLineEdit(dialog);
  if (spec.kind == K::kDigitsEdit) {
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
  }
  if (spec.kind == K::kCp932Edit) {
    edit->setValidator(new Cp932Validator(dialogTemplate.textLimit, edit));
    // The template's edits are sized for a thin border; give the text the frame's margin.
    edit->setTextMargins(-kEditMarginTrim, 0, -kEditMarginTrim, 0);
  }
  return edit;
}

QWidget* MakeControl(QDialog* dialog, const ControlSpec& spec,
                     const DialogTemplate& dialogTemplate) {
  QString caption = QString::fromUtf8(spec.caption);
  switch (spec.kind) {
    case K::kLineEdit:
    case K::kDigitsEdit:
    case K::kCp932Edit:
      return MakeEdit(dialog, spec, dialogTemplate);
    case K::kUpDown:
      return new UpDownControl(dialog);
    case K::kLog: {
      auto* log = new QPlainTextEdit(dialog);
      log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      log->setTabChangesFocus(true);
      return log;
    }
    case K::kLabel:
      if (dialogTemplate.mnemonicsOnlyFocus) return new FocusingLabel(caption, dialog);
      return new QLabel(caption, dialog);
    case K::kGroupBox:
      return new QGroupBox(caption, dialog);
    case K::kRadio:
      return new QRadioButton(caption, dialog);
    case K::kCheckBox:
      return new QCheckBox(caption, dialog);
    case K::kDropList:
      return new QComboBox(dialog);
    case K::kToggle:
    case K::kButton:
    case K::kDefaultButton:
    case K::kLeftAlignedButton:
    case K::kNarrowButton:
      return MakeButton(dialog, caption, spec.kind, dialogTemplate);
  }
  return nullptr;
}

// A caption that the font makes a few pixels wider than its template rectangle grows to fit
// rather than being clipped; the templates leave room after every caption.
int Width(const ControlSpec& spec, QWidget* control, const DialogUnits& units,
          const DialogTemplate& dialogTemplate) {
  const bool grows =
      spec.kind == K::kLabel ||
      (dialogTemplate.choicesGrowToFit && (spec.kind == K::kCheckBox || spec.kind == K::kRadio));
  const int width = units.X(spec.width);
  return grows ? std::max(width, control->sizeHint().width()) : width;
}

void SetBuddies(const std::vector<std::pair<const ControlSpec*, QWidget*>>& made,
                const std::map<int, QWidget*>& controls) {
  for (const auto& [spec, control] : made) {
    if (spec->buddy == 0) continue;
    if (spec->kind == K::kUpDown) {
      static_cast<UpDownControl*>(control)->SetBuddy(
          static_cast<QLineEdit*>(controls.at(spec->buddy)));
    } else {
      static_cast<QLabel*>(control)->setBuddy(controls.at(spec->buddy));
    }
  }
}

}  // namespace

DialogUnits DialogUnitsFor(const QFont& font) {
  QFontMetrics metrics(font);
  int average = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogUnits{(average / 26 + 1) / 2, metrics.height()};
}

QFont DialogFont() {
  QFont font;
  font.setFamilies(QStringList{QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                               QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(9);
  return font;
}

std::map<int, QWidget*> BuildDialog(QDialog* dialog, const DialogTemplate& dialogTemplate) {
  dialog->setFont(DialogFont());
  const DialogUnits units = DialogUnitsFor(dialog->font());
  dialog->setFixedSize(units.X(dialogTemplate.width), units.Y(dialogTemplate.height));
  std::map<int, QWidget*> controls;
  std::vector<std::pair<const ControlSpec*, QWidget*>> made;
  for (const ControlSpec& spec : dialogTemplate.controls) {
    QWidget* control = MakeControl(dialog, spec, dialogTemplate);
    control->setGeometry(units.X(spec.x), units.Y(spec.y),
                         Width(spec, control, units, dialogTemplate), units.Y(spec.height));
    if (spec.id != 0) controls[spec.id] = control;
    made.emplace_back(&spec, control);
  }
  SetBuddies(made, controls);
  return controls;
}

}  // namespace vantrel::ui
