#pragma once

#include <QMessageBox>
#include <QTimer>

#include <random>
#include <string>

#include "keyer/morse_code.h"
#include "session_rig.h"
#include "settings/dialog_driver.h"
#include "ui/setup_dlg_ids.h"

namespace vantrel::reliability {

// An operator pressing keys and buttons at random, a paddle and a speed knob at the interface,
// and a cable that comes and goes.
class RandomOperator {
 public:
  RandomOperator(SessionRig& rig, unsigned seed) : rig_(rig), random_(seed) {}

  // One action, then the clock moved on by 0 to 60 ms (now and then up to 1.5 s). False on a hang.
  bool Act() {
    Do(Pick(100));
    return rig_.RunMs(Pick(10) == 0 ? 200 + Pick(1300) : Pick(60));
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  void Do(int roll) {
    static constexpr Qt::Key kSpeedKeys[] = {Qt::Key_Q, Qt::Key_S, Qt::Key_W};
    if (roll < 30) return TypeCharacters();
    if (roll < 36) return Key(Qt::Key_Return);
    if (roll < 41) return Key(Qt::Key_Escape);
    if (roll < 53) {
      const auto key = static_cast<Qt::Key>(Qt::Key_F1 + Pick(12));
      return Key(key, Pick(2) ? Qt::ControlModifier : Qt::NoModifier);
    }
    if (roll < 59) return Key(kSpeedKeys[Pick(3)], Qt::ControlModifier);
    if (roll < 62) return rig_.Click(Pick(2) ? ui::kIdSequential : ui::kIdBlock);
    if (roll < 66) return Key(Qt::Key_Z, Qt::ControlModifier);
    if (roll < 69) return RunSetup();
    if (roll < 80) {
      const std::uint8_t code = keyer::kBuiltinCodes[Pick(126)];
      return rig_.sim.ReportDecoded(code == 0 ? 0x60 : code);
    }
    if (roll < 86) return rig_.sim.SendSpeedReport(static_cast<std::uint8_t>(5 + Pick(200)));
    if (roll < 88) return rig_.Click(ui::kIdStop);
    if (roll < 90 && rig_.Control(ui::kIdDecode)->isEnabled()) return rig_.Click(ui::kIdDecode);
    if (roll >= 90 && roll < 94) return Cable();
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

  void Cable() {
    if (!rig_.sim.IsPlugged()) {
      rig_.bus.unplugAtWrite = 0;
      rig_.sim.Plug();
    } else if (Pick(2)) {
      rig_.sim.Unplug();
    } else {
      rig_.bus.unplugAtWrite = 1 + Pick(3);
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
    switch (Pick(9)) {
      case 0:
        return dialog.Type(kIdCqLoopInterval, QString::number(0.2 + Pick(20) / 10.0));
      case 1:
        return dialog.Type(kIdPttdBefore, QString::number(Pick(60)));
      case 2:
        return dialog.Type(kIdPttdAfter, QString::number(Pick(250)));
      case 3:
        return dialog.Type(kIdWeightDot, QString::number(1 + Pick(10) / 10.0));
      case 4:
        return dialog.Type(kIdMyCall, Pick(2) ? "JA1ZZZ" : "N0CALL");
      case 5:
        return dialog.Type(MessageEditId(1 + Pick(10)), Pick(2) ? "CQ DE $M" : "TU $N");
      case 6:
        return dialog.Click(kIdPttCtrl);
      case 7:
        return dialog.Click(kIdLogTime);
      default:
        return dialog.Type(kIdNumber, QString::number(1 + Pick(999)));
    }
  }

  SessionRig& rig_;
  std::mt19937 random_;
};

}  // namespace vantrel::reliability
