#include "settings/setup_dlg_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/text_encoding.h"
#include "settings/cp932_validator.h"
#include "settings/settings.h"
#include "settings/setup_dlg_template.h"

namespace vantrel::settings {
namespace {

constexpr int kEditMarginTrim = 2;

QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                    QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
  font.setPointSize(9);
  return font;
}

QComboBox* MakeSideToneList(QWidget* parent, const DialogUnits& units) {
  auto* list = new QComboBox(parent);
  // The list is only wide enough for four digits next to a narrow arrow.
  list->setStyleSheet(
      QStringLiteral("QComboBox { padding-left: 2px; padding-right: 0px; } QComboBox::drop-down { "
                     "width: 11px; }"));
  for (std::string_view text : SideToneFreqList) {
    list->addItem(QString::fromStdString(platform::Cp932ToUtf8(text)));
  }
  int item_height = QFontMetrics(parent->font()).height();
  list->setMaxVisibleItems(std::max(1, units.Y(kSideToneListHeight) / item_height));
  return list;
}

QWidget* MakeControl(QDialog* dialog, const ControlSpec& spec, const DialogUnits& units,
                     std::size_t text_limit) {
  QString caption = QString::fromUtf8(spec.caption);
  switch (spec.kind) {
    case ControlKind::kGroupBox:
      return new QGroupBox(caption, dialog);
    case ControlKind::kLabel:
      return new QLabel(caption, dialog);
    case ControlKind::kRadio:
      return new QRadioButton(caption, dialog);
    case ControlKind::kCheckBox:
      return new QCheckBox(caption, dialog);
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(dialog);
      edit->setValidator(new Cp932Validator(text_limit, edit));
      // The template's edits are sized for a thin border; give the text the frame's margin.
      edit->setTextMargins(-kEditMarginTrim, 0, -kEditMarginTrim, 0);
      return edit;
    }
    case ControlKind::kDropList:
      return MakeSideToneList(dialog, units);
    case ControlKind::kDefaultButton:
    case ControlKind::kButton: {
      auto* button = new QPushButton(caption, dialog);
      button->setAutoDefault(false);
      button->setDefault(spec.kind == ControlKind::kDefaultButton);
      return button;
    }
  }
  return nullptr;
}

// A caption that the font makes a few pixels wider than its template rectangle grows to fit
// rather than being clipped; the template leaves room after every caption.
int CaptionWidth(const ControlSpec& spec, QWidget* control, const DialogUnits& units) {
  bool caption = spec.kind == ControlKind::kLabel || spec.kind == ControlKind::kCheckBox ||
                 spec.kind == ControlKind::kRadio;
  int width = units.X(spec.width);
  return caption ? std::max(width, control->sizeHint().width()) : width;
}

// A label's mnemonic moves the focus to the next control of the template that takes input.
void SetBuddies(const std::vector<std::pair<const ControlSpec*, QWidget*>>& made) {
  for (std::size_t i = 0; i < made.size(); ++i) {
    auto* label = qobject_cast<QLabel*>(made[i].second);
    if (!label || !label->text().contains(u'&')) continue;
    for (std::size_t j = i + 1; j < made.size(); ++j) {
      if (made[j].first->id != 0) {
        label->setBuddy(made[j].second);
        break;
      }
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

SetupDialogLayout BuildSetupDialog(QDialog* dialog, std::size_t text_limit) {
  dialog->setFont(DialogFont());
  dialog->setWindowTitle(QStringLiteral("Vantrel Setup"));
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
  dialog->setModal(true);
  DialogUnits units = DialogUnitsFor(dialog->font());
  dialog->setFixedSize(units.X(kSetupDialogWidth), units.Y(kSetupDialogHeight));

  SetupDialogLayout layout;
  std::vector<std::pair<const ControlSpec*, QWidget*>> made;
  for (const ControlSpec& spec : SetupDialogTemplate()) {
    QWidget* control = MakeControl(dialog, spec, units, text_limit);
    control->setGeometry(units.X(spec.x), units.Y(spec.y), CaptionWidth(spec, control, units),
                         units.Y(spec.height));
    if (spec.id != 0) layout.controls[spec.id] = control;
    if (spec.caption == std::string_view("H&z")) layout.hz_label = static_cast<QLabel*>(control);
    made.emplace_back(&spec, control);
  }
  SetBuddies(made);
  return layout;
}

}  // namespace vantrel::settings
