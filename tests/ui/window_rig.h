#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "keyer/fake_hid.h"
#include "platform/linux/single_instance.h"
#include "support/manual_timer.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "ui/main_dlg.h"

namespace vantrel::ui::rig {

using keyer::testing::FakeHidBus;

// The operating window on a fake interface of a chosen firmware version (0: none attached),
// run from a fresh temporary working directory.
class WindowRig {
 public:
  explicit WindowRig(unsigned version) {
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    if (version != 0) hid = bus.Add("hid:0", keyer::testing::ProductFor(version));
  }
  ~WindowRig() {
    window.reset();
    std::filesystem::current_path(previousDir_);
  }

  void Create() {
    window = std::make_unique<CMainDlg>(MainDlgServices{bus, timers, tone, dir.path(), {}},
                                        platform::SingleInstance::Acquire(dir.path(), "MyApp"));
  }
  void Open() {
    if (!window) Create();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("the window never became active");
  }

  QLineEdit* Edit(int id) const { return static_cast<QLineEdit*>(window->Control(id)); }
  QAbstractButton* Button(int id) const {
    return static_cast<QAbstractButton*>(window->Control(id));
  }
  void Click(int id) {
    QWidget* control = window->Control(id);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
  }
  // Selects the edit's text with the keyboard and types `text` over it (Delete when empty).
  void Type(int id, const std::string& text) {
    QLineEdit* edit = Edit(id);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.empty()) QTest::keyClick(edit, Qt::Key_Delete);
    for (char c : text) QTest::keyClick(edit, c);
  }

  std::vector<std::vector<std::uint8_t>> TakeWrites() {
    return hid ? bus.TakeWrites(hid) : std::vector<std::vector<std::uint8_t>>{};
  }

  // Runs `action`; each modal box it opens is noted (message text, or label 1056 of the about
  // box) and closed with the Enter key.
  static std::vector<QString> ModalTextsDuring(const std::function<void()>& action,
                                               const std::function<QString(QWidget*)>& read) {
    std::vector<QString> texts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      texts.push_back(read(modal));
      QTest::keyClick(modal, Qt::Key_Return);
    });
    poll.start(5);
    action();
    return texts;
  }
  static std::vector<QString> MessagesDuring(const std::function<void()>& action) {
    return ModalTextsDuring(action, [](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      return box ? box->text() : QString();
    });
  }

  settings::TempDir dir;
  FakeHidBus bus;
  platform::ManualTimerService timers;
  platform::NullToneOutput tone;
  std::shared_ptr<FakeHidBus::Device> hid;
  std::unique_ptr<CMainDlg> window;

 private:
  std::filesystem::path previousDir_;
};

// "00 24 1E" → the 9-byte report.
inline std::vector<std::uint8_t> Report(const std::string& hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < hex.size(); i += 3) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  bytes.resize(9, 0);
  return bytes;
}

}  // namespace vantrel::ui::rig
