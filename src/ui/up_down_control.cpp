#include "ui/up_down_control.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace vantrel::ui {
namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent), up_(MakeArrow(this, Qt::UpArrow)), down_(MakeArrow(this, Qt::DownArrow)) {
  setFocusPolicy(Qt::NoFocus);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDownControl::SetBuddy(QLineEdit* buddy) {
  buddy_ = buddy;
  buddy_->installEventFilter(this);
}

void UpDownControl::SetRange(int lower, int upper) {
  lower_ = lower;
  upper_ = upper;
  position_ = std::clamp(position_, lower_, upper_);
}

void UpDownControl::SetPosition(int position) {
  position_ = std::clamp(position, lower_, upper_);
  if (buddy_) buddy_->setText(QString::number(position_));
}

void UpDownControl::Step(int delta) {
  bool isNumber = false;
  int shown = buddy_ ? buddy_->text().toInt(&isNumber) : 0;
  int from = isNumber ? std::clamp(shown, lower_, upper_) : position_;
  SetPosition(from + delta);
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UpDownControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace vantrel::ui
