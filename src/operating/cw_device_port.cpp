#include "operating/cw_device_port.h"

#include <utility>

namespace vantrel::operating {

void CwDevicePort::SendText(std::string text) {
  device_.SendText(std::move(text));
}
void CwDevicePort::StopSending() {
  device_.StopSending();
}
void CwDevicePort::ClearBuffer() {
  device_.ClearBuffer();
}
int CwDevicePort::SetSpeed(unsigned wpm) {
  return device_.SetSpeed(wpm);
}
unsigned CwDevicePort::GetSpeed() const {
  return device_.GetSpeed();
}
void CwDevicePort::SetPttHold(bool on) {
  device_.SetPttHold(on);
}
unsigned CwDevicePort::FirmwareVersion() const {
  return device_.FirmwareVersion();
}

}  // namespace vantrel::operating
