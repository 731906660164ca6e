#pragma once

namespace vantrel::ui {

// Control ids of the setup dialog; they name the controls for tests and for the exchange.
enum SetupControlId : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdIntervalWord = 1005,
  kIdIntervalChar = 1006,
  kIdWeightDot = 1008,
  kIdPttCtrl = 1009,
  kIdWeightDash = 1011,
  kIdPaddleRvs = 1012,
  kIdAlwaysOnTop = 1013,
  kIdNumber = 1024,
  kIdAuto = 1026,
  kIdBankA = 1031,
  kIdMessage1 = 1033,
  kIdBankB = 1046,
  kIdMyCall = 1049,
  kIdCqLoopInterval = 1050,
  kIdPttdBefore = 1051,
  kIdPttdAfter = 1052,
  kIdSideTone = 1053,
  kIdLogTime = 1054,
  kIdSideToneFreq = 1055,
  kIdSideToneFreqIf = 1058,
  kIdNetKeyerEnabled = 1060,
  kIdNetKeyerAddress = 1061,
  kIdNetKeyerPort = 1062,
  kIdLogProgram = 1063,
  kIdLogPort = 1064,
  kIdWineCommand = 1065,
  kIdWinePrefix = 1066,
};

// Message 1 is 1033; message n from 2 on is 1033 + n.
constexpr int MessageEditId(int number) {
  return number == 1 ? kIdMessage1 : kIdMessage1 + number;
}

}  // namespace vantrel::ui
