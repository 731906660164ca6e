#pragma once

#include <string>

#include "settings/settings.h"

namespace vantrel::operating {

// The keyer engine as the operating logic and its window use it: their one way to it.
class KeyerPort {
 public:
  virtual ~KeyerPort() = default;
  virtual void SendText(std::string text) = 0;
  virtual void StopSending() = 0;
  virtual void ClearBuffer() = 0;
  // Whether firmware 20 and later would be sent a code for `character`.
  virtual bool HasCode(char character) const = 0;
  // 0 on success, -1 when `wpm` is outside 5..50 and nothing was stored.
  virtual int SetSpeed(unsigned wpm) = 0;
  virtual unsigned GetSpeed() const = 0;
  virtual void SetPttHold(bool on) = 0;
  // 0 while no interface is open.
  virtual unsigned FirmwareVersion() const = 0;

  // Weights, PTT delays and control, intervals, paddle reverse and sidetones, in that order.
  virtual void SetKeyingSettings(const settings::Settings& settings) = 0;
};

}  // namespace vantrel::operating
