#pragma once

#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <random>
#include <string>

#include "keyer/morse_code.h"
#include "session_rig.h"
#include "settings/dialog_driver.h"
#include "ui/setup_dlg_ids.h"

namespace vantrel::reliability {

// An operator pressing keys and buttons at random, a paddle and a speed knob at the interface,
// and a cable that comes and goes. Each action leaves the clock where it was; Act then runs it.
class RandomOperator {
 public:
  RandomOperator(SessionRig& rig, unsigned seed) : rig_(rig), random_(seed) {}

  // One action, then the clock moved on by 0 to 200 ms (sometimes up to 1.5 s). False on a hang.
  bool Act() {
    Do(Pick(100));
    const int ms = Pick(10) == 0 ? 200 + Pick(1300) : Pick(60);
    return rig_.RunMs(ms);
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  Qt::KeyboardModifiers Ctrl() { return Pick(2) ? Qt::ControlModifier : Qt::NoModifier; }

  void Do(int roll) {
    if (roll < 30) return TypeCharacters();
    if (roll < 36) return Key(Qt::Key_Return);
    if (roll < 41) return Key(Qt::Key_Escape);
    if (roll < 53) return Key(static_cast<Qt::Key>(Qt::Key_F1 + Pick(12)), Ctrl());
    if (roll < 59) return Key(kSpeedKeys[Pick(3)], Qt::ControlModifier);
    if (roll < 62) return rig_.Click(Pick(2) ? ui::kIdSequential : ui::kIdBlock);
    if (roll < 66) return Key(Qt::Key_Z, Qt::ControlModifier);
    if (roll < 69) return RunSetup();
    if (roll < 80) return Paddle();
    if (roll < 86) return rig_.sim.SendSpeedReport(static_cast<std::uint8_t>(5 + Pick(200)));
    if (roll < 88) return rig_.Click(ui::kIdStop);
    if (roll < 90) return ToggleDecode();
    if (roll < 94) return Cable();
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    rig_.FocusInput();
    rig_.Key(key, modifiers);
  }

  void TypeCharacters() {
    static constexpr char kKeys[] = "abcdefghijklmnopqrstuvwxyz0123456789 /?.,=";
    rig_.FocusInput();
    for (int n = 1 + Pick(6); n > 0; --n) {
      rig_.Type(std::string(1, kKeys[Pick(sizeof kKeys - 1)]),
                Pick(8) ? Qt::NoModifier : Qt::ShiftModifier);
    }
  }

  void Paddle() {
    const std::uint8_t code = keyer::kBuiltinCodes[Pick(126)];
    rig_.sim.ReportDecoded(code == 0 ? 0x60 : code);
  }

  void ToggleDecode() {
    if (rig_.Control(ui::kIdDecode)->isEnabled()) rig_.Click(ui::kIdDecode);
  }

  void Cable() {
    if (rig_.sim.IsPlugged()) {
      if (Pick(2)) {
        rig_.sim.Unplug();
      } else {
        rig_.bus.unplugAtWrite = 1 + Pick(3);
      }
    } else {
      rig_.bus.unplugAtWrite = 0;
      rig_.sim.Plug();
    }
  }

  // The setup dialog with a few values changed, confirmed or cancelled. Message boxes about
  // the values are answered.
  void RunSetup() {
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        QTest::keyClick(box, Qt::Key_Return);
      }
    });
    answer.start(5);
    QTimer::singleShot(0, [this] {
      ui::DialogDriver dialog(rig_.window->Setup());
      for (int n = Pick(4); n > 0; --n) ChangeOne(dialog);
      QWidget* modal = QApplication::activeModalWidget();
      if (modal) QTest::keyClick(modal, Pick(2) ? Qt::Key_Return : Qt::Key_Escape);
    });
    rig_.Click(ui::kIdSetup);
  }

  void ChangeOne(ui::DialogDriver& dialog) {
    using namespace ui;
    auto type = [&](int id, auto value) {
      return [&dialog, id, value] { dialog.Type(id, value()); };
    };
    const std::function<void()> changes[] = {
        type(kIdCqLoopInterval, [&] { return QString::number(0.2 + Pick(20) / 10.0); }),
        type(kIdPttdBefore, [&] { return QString::number(Pick(60)); }),
        type(kIdPttdAfter, [&] { return QString::number(Pick(250)); }),
        type(kIdWeightDot, [&] { return QString::number(1 + Pick(10) / 10.0); }),
        type(kIdMyCall, [&] { return QString(Pick(2) ? "JA1ZZZ" : "N0CALL"); }),
        [&] { dialog.Type(MessageEditId(1 + Pick(10)), Pick(2) ? "CQ DE $M" : "TU $N"); },
        [&] { dialog.Click(kIdPttCtrl); },
        [&] { dialog.Click(kIdLogTime); },
        type(kIdNumber, [&] { return QString::number(1 + Pick(999)); })};
    changes[Pick(9)]();
  }

  static constexpr Qt::Key kSpeedKeys[] = {Qt::Key_Q, Qt::Key_S, Qt::Key_W};

  SessionRig& rig_;
  std::mt19937 random_;
};

}  // namespace vantrel::reliability
