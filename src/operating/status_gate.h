#pragma once

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

}  // namespace vantrel::operating
