#include "app/cw_device_port.h"

#include <utility>

namespace vantrel::app {

void CwDevicePort::SendText(std::string text) {
  device_.SendText(std::move(text));
}
void CwDevicePort::StopSending() {
  device_.StopSending();
}
void CwDevicePort::ClearBuffer() {
  device_.ClearBuffer();
}
bool CwDevicePort::HasCode(char character) const {
  return device_.HasCode(character);
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

void CwDevicePort::SetKeyingSettings(const settings::Settings& settings) {
  device_.SetDotWeight(settings.WeightDot);
  device_.SetDashWeight(settings.WeightDash);
  device_.SetPttDelayBefore(static_cast<unsigned>(settings.PttdBefore));
  device_.SetPttDelayAfter(static_cast<unsigned>(settings.PttdAfter));
  device_.SetCharInterval(settings.IntervalChar);
  device_.SetWordInterval(settings.IntervalWord);
  device_.SetPttControl(settings.PTTCtrl);
  device_.SetPaddleReverse(settings.PaddleRvs);
  device_.SetPcSidetone(settings.SideTone);
  device_.SetPcSidetoneFreq(static_cast<unsigned>(settings.SideToneFreq));
  device_.SetSidetoneIndex(static_cast<unsigned>(settings.SideToneFreqIfIndex));
}
void CwDevicePort::SetDotWeight(float weight) {
  device_.SetDotWeight(weight);
}
void CwDevicePort::SetDashWeight(float weight) {
  device_.SetDashWeight(weight);
}
void CwDevicePort::SetPttDelayBefore(unsigned ms) {
  device_.SetPttDelayBefore(ms);
}
void CwDevicePort::SetPcSidetone(bool on) {
  device_.SetPcSidetone(on);
}
void CwDevicePort::SetPcSidetoneFreq(unsigned hz) {
  device_.SetPcSidetoneFreq(hz);
}
void CwDevicePort::SetDecodeEnabled(bool on) {
  device_.SetDecodeEnabled(on);
}
bool CwDevicePort::KanaMode() const {
  return device_.KanaMode();
}
void CwDevicePort::SetTargetWindow(platform::TargetWindow* window) {
  device_.SetTargetWindow(window);
}

}  // namespace vantrel::app
