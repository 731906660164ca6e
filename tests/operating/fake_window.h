#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "operating/operating_view.h"
#include "operating/speed.h"

namespace vantrel::operating {

// The operating window's controls as plain values, exchanged with the fields the way the
// window does it.
class FakeWindow final : public OperatingView {
 public:
  struct Controls {
    unsigned speedBox = 20;
    std::string log;
    int ptt = 0;
    std::string callsign;
    int sendMode = 0;
    int report = 599;
    int decode = 0;
  };

  WindowFields& Fields() override { return fields; }
  bool ReadControls() override {
    ++reads;
    if (readFails) return false;
    fields.WPM = controls.speedBox;
    fields.LogText = controls.log;
    fields.PttCheck = controls.ptt;
    fields.HisCall = controls.callsign;
    fields.SendMode = controls.sendMode;
    fields.Report = controls.report;
    fields.DecodeCheck = controls.decode;
    return true;
  }
  void RefreshControls() override {
    controls.speedBox = fields.WPM;
    controls.log = fields.LogText;
    controls.ptt = fields.PttCheck;
    controls.callsign = fields.HisCall;
    controls.sendMode = fields.SendMode;
    controls.report = fields.Report;
    controls.decode = fields.DecodeCheck;
  }

  std::string InputLineText() const override { return inputLine; }
  void SetInputLineText(const std::string& text) override { inputLine = text; }
  void EmptyControl(Control control) override {
    if (control == Control::InputLine) inputLine.clear();
    if (control == Control::CallsignBox) controls.callsign.clear();
  }
  Control FocusedControl() const override { return focus; }
  void SetFocus(Control control) override { focus = control; }
  void ShowLogEnd() override { ++logEndShown; }
  void InsertAtLogEnd(const std::string& text) override { controls.log += text; }

  std::string ButtonCaption(int key) const override {
    const auto it = captions.find(key);
    return it == captions.end() ? std::string() : it->second;
  }
  void SetButtonCaption(int key, const std::string& text) override { captions[key] = text; }
  void SetButtonToolTip(int key, const std::string& text) override { toolTips[key] = text; }

  bool SetSpinPosition(unsigned wpm) override {
    const unsigned shown = std::clamp(wpm, kMinWpm, kMaxWpm);
    return std::exchange(controls.speedBox, shown) != shown;
  }

  void StartCqTimer(unsigned milliseconds) override {
    timer = milliseconds;
    timerStarts.push_back(milliseconds);
  }
  void KillCqTimer() override { timer.reset(); }

  void LoadSettingsFile() override { ++settingsLoaded; }
  void EnableDecodeCheck() override { decodeEnabled = true; }

  void SendToLog() override { ++sentToLog; }
  void FetchFromLog() override { ++fetchedFromLog; }

  // Types as the control would: the character goes in only if the handler passed it on.
  void Insert(const std::string& character) {
    if (focus == Control::InputLine) inputLine += character;
  }

  WindowFields fields;
  Controls controls;
  bool readFails = false;
  int reads = 0;
  std::string inputLine;
  Control focus = Control::InputLine;
  int logEndShown = 0;
  std::map<int, std::string> captions;
  std::map<int, std::string> toolTips;
  std::optional<unsigned> timer;
  std::vector<unsigned> timerStarts;
  int settingsLoaded = 0;
  bool decodeEnabled = false;
  int sentToLog = 0;
  int fetchedFromLog = 0;
};

}  // namespace vantrel::operating
