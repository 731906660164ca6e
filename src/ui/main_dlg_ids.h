#pragma once

namespace vantrel::ui {

// Control ids of the operating window; they name the controls for tests and the handlers.
enum MainControlId : int {
  kIdSend = 1,
  kIdExit = 2,
  kIdInput = 1001,
  kIdLog = 1002,
  kIdSpeed = 1003,
  kIdSpeedUpDown = 1004,
  kIdClear = 1007,
  kIdPtt = 1010,
  kIdDecode = 1011,
  kIdStop = 1013,
  kIdF1 = 1014,
  kIdF10 = 1023,
  kIdF11 = 1025,
  kIdF12 = 1027,
  kIdHisCall = 1028,
  kIdSequential = 1030,
  kIdReport = 1034,
  kIdSetup = 1047,
  kIdBlock = 1059,
};

// Button of function key n, 1 to 10.
constexpr int FunctionButtonId(int n) {
  return kIdF1 + n - 1;
}

// The about box's interface version label.
inline constexpr int kIdAboutVersion = 1056;

}  // namespace vantrel::ui
