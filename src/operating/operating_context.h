#pragma once

#include "operating/keyer_port.h"
#include "operating/operating_view.h"
#include "settings/settings.h"

namespace vantrel::operating {

// Where the window says whether it needs every status report. While it rests, a report that
// repeats the last one delivered would change nothing and may be held back.
class StatusGate {
 public:
  virtual ~StatusGate() = default;
  virtual void Rest() = 0;
  // Ends a rest; a report held back during it is delivered after all.
  virtual void Wake() = 0;
};

// What the parts of the operating logic act on: the window, the engine, the settings and the
// status gate. Every change to the window's values or to a part's state wakes the gate first,
// so that a rest ends before the change. All of it must outlive the parts.
struct OperatingContext {
  OperatingView& view;
  KeyerPort& keyer;
  settings::Settings& settings;
  StatusGate* gate = nullptr;

  void Wake();
  // The window's values, about to be changed.
  WindowFields& Fields();
  bool Sequential();
  // The engine of firmware 20 and later takes one character at a time, paced by its status
  // reports; older firmware takes the whole text and times it on the PC.
  bool KeyerTimesCharacters() const;
};

}  // namespace vantrel::operating
