#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vantrel::ui {

// A pair of arrows that steps a number in the edit before it (its buddy): each step reads the
// buddy's number, moves it by one within the range without wrapping and writes it back. The
// Up and Down keys in the buddy step too.
class UpDownControl final : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownControl(QWidget* parent = nullptr);

  void SetBuddy(QLineEdit* buddy);
  void SetRange(int lower, int upper);
  // Writes `position`, held within the range, into the buddy.
  void SetPosition(int position);
  int Position() const { return position_; }
  int Lower() const { return lower_; }
  int Upper() const { return upper_; }

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Step(int delta);

  QToolButton* up_;
  QToolButton* down_;
  QLineEdit* buddy_ = nullptr;
  int lower_ = 0;
  int upper_ = 0;
  int position_ = 0;
};

}  // namespace vantrel::ui
