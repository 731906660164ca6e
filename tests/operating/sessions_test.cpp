#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "keyer/keyer_messages.h"
#include "operating/operating_logic.h"
#include "operating/speed.h"
#include "settings/data_table.h"
#include "settings/settings.h"

namespace vantrel::operating {
namespace {

// The window (its controls as window fields, exchanged in bulk as the window does), the engine
// and the status gate. Window and engine calls are recorded as e.g. "SendText A|SetSpeed 21";
// rests and wakes apart, each wake with the text queued at that moment.
class Fakes final : public OperatingView, public KeyerPort, public StatusGate {
 public:
  WindowFields& Fields() override { return fields; }
  bool ReadControls() override {
    if (!readFails) fields = controls;
    return !readFails;
  }
  void RefreshControls() override { controls = fields; }
  std::string InputLineText() const override { return inputLine; }
  void SetInputLineText(const std::string& text) override { inputLine = text; }
  void EmptyControl(Control control) override {
    if (control == Control::InputLine) inputLine.clear();
    if (control == Control::CallsignBox) controls.HisCall.clear();
    if (control == Control::Log) log.clear();
  }
  Control FocusedControl() const override { return focus; }
  void SetFocus(Control control) override { focus = control; }
  void ShowLogEnd() override {}
  void InsertAtLogEnd(const std::string& text) override { log += text; }
  std::string LogText() const override { return log; }
  std::string ButtonCaption(int key) const override { return captions[key]; }
  void SetButtonCaption(int key, const std::string& text) override { captions[key] = text; }
  void SetButtonToolTip(int key, const std::string& text) override { toolTips[key] = text; }
  bool SetSpinPosition(unsigned wpm) override {
    const unsigned shown = std::clamp(wpm, kMinWpm, kMaxWpm);
    return std::exchange(controls.WPM, shown) != shown;
  }
  void StartCqTimer(unsigned milliseconds) override {
    timer = milliseconds;
    timerStarts += std::to_string(milliseconds) + " ";
  }
  void KillCqTimer() override { timer.reset(); }
  void LoadSettingsFile() override { Call("LoadSettingsFile"); }
  void EnableDecodeCheck() override {}
  void SendToLog() override { Call("SendToLog"); }
  void FetchFromLog() override { Call("FetchFromLog"); }
  void SendText(std::string text) override {
    sent += text;
    Call("SendText " + text);
  }
  void StopSending() override { Call("StopSending"); }
  void ClearBuffer() override { Call("ClearBuffer"); }
  // The built-in table holds neither '#' nor control characters.
  bool HasCode(char character) const override {
    return character != '#' && static_cast<unsigned char>(character) >= 0x20;
  }
  int SetSpeed(unsigned wpm) override {
    Call("SetSpeed " + std::to_string(wpm));
    if (!IsKeyingSpeed(wpm)) return -1;
    speed = wpm;
    return 0;
  }
  unsigned GetSpeed() const override { return speed; }
  void SetPttHold(bool on) override { Call(on ? "SetPttHold 1" : "SetPttHold 0"); }
  unsigned FirmwareVersion() const override { return firmware; }
  // An unplugged interface comes back on the open attempt the settings make.
  void SetKeyingSettings(const settings::Settings&) override {
    Call("SetKeyingSettings");
    if (returning != 0) firmware = std::exchange(returning, 0);
  }

  void Rest() override { gate += "|R"; }
  void Wake() override {
    const std::string wake = "|W" + send->PendingText;
    if (!gate.ends_with(wake)) gate += wake;
  }

  void Call(const std::string& call) { calls += (calls.empty() ? "" : "|") + call; }
  void Forget() {
    calls.clear();
    gate.clear();
  }

  WindowFields fields;
  WindowFields controls;
  std::string log;
  bool readFails = false;
  std::string inputLine;
  Control focus = Control::InputLine;
  std::array<std::string, 13> captions;
  std::array<std::string, 13> toolTips;
  std::optional<unsigned> timer;
  std::string timerStarts;
  unsigned firmware = 23;
  unsigned returning = 0;
  unsigned speed = 20;
  std::string sent;
  std::string calls;
  const SendState* send = nullptr;
  std::string gate;
};

// The operating logic against the fakes, the clock at 07:05:09, driven by steps such as "type
// ab", "press+Ctrl Z", "status 1x3" or "msg SPEED 29 1", and checked by steps such as "?log=A"
// or "?calls=SendText A" (the window and engine calls since the last such check).
struct OperatingRig {
  OperatingRig() {
    time.tm_hour = 7;
    time.tm_min = 5;
    time.tm_sec = 9;
  }

  // Steps separated by "; ".
  void Run(const std::string& steps) {
    for (std::size_t at = 0, end = 0; at < steps.size(); at = end + 2) {
      end = std::min(steps.find("; ", at), steps.size());
      const std::string step = steps.substr(at, end - at);
      SCOPED_TRACE(step);
      const std::size_t space = std::min(step.find(' '), step.size());
      const std::string verb = step.substr(0, space);
      if (verb != "set" && fake.send == nullptr) Start();
      const std::string arg = step.substr(std::min(space + 1, step.size()));
      if (verb.front() == '?')
        Check(step.substr(1));
      else
        Do(verb.substr(0, verb.find('+')), ModifiersIn(verb), arg);
    }
  }

  void Start() {
    logic.ApplySettings();
    logic.ShowBank(Bank::A);
    fake.send = &logic.State();
    logic.SetStatusGate(&fake);
    EXPECT_EQ(std::exchange(fake.calls, {}), "LoadSettingsFile|SetSpeed 20|SetKeyingSettings");
  }

  void Do(const std::string& verb, Modifiers modifiers, const std::string& arg) {
    const int n = std::atoi(arg.c_str());
    const std::size_t times = arg.find('x');
    if (verb == "set") return Set(arg.substr(0, arg.find('=')), arg.substr(arg.find('=') + 1));
    if (verb == "type") return Type(arg, modifiers, false);
    if (verb == "char") return Type(arg, modifiers, true);
    if (verb == "press") return void(consumed = logic.OnKeyDown(KeyNamed(arg), modifiers));
    if (verb == "release") return logic.OnKeyUp(KeyNamed(arg));
    if (verb == "status") return Status(n, times == arg.npos ? 1 : std::atoi(&arg[times + 1]));
    if (verb == "msg") return Message(arg);
    if (verb == "forget") return fake.Forget();
    if (verb == "drain") return Drain();
    if (verb == "repeat") return Repeat(n);
    if (verb == "timer") return logic.OnCqTimer();
    if (verb == "send") return logic.OnSendButton();
    if (verb == "stop") return logic.StopTransmission();
    if (verb == "clear") return logic.OnClearButton();
    if (verb == "exit") return logic.OnExit();
    if (verb == "fn") return logic.OnFunctionButton(n);
    if (verb == "macro") return logic.SendWithMacros(arg);
    if (verb == "net") return logic.QueueNetworkText(NetworkPieces(arg));
    if (verb == "netspeed") return logic.SetNetworkSpeed(n);
    if (verb == "abort") return logic.AbortSending();
    if (verb == "boxchanged") return logic.OnSpeedBoxChanged();
    // What the operator or the interface does to the window and the engine.
    WindowFields& controls = fake.controls;
    if (verb == "fw") return void(fake.firmware = n);
    if (verb == "unplug") return void(fake.returning = std::exchange(fake.firmware, 0));
    if (verb == "box") return void(controls.WPM = n);
    if (verb == "mode") return void(controls.SendMode = fake.fields.SendMode = arg == "block");
    if (verb == "call") return void(controls.HisCall = arg);
    if (verb == "report") return void(controls.Report = n);
    if (verb == "ptt") return void(controls.PttCheck = 1);
    if (verb == "focus")
      return void(fake.focus = arg == "Log" ? Control::Log : Control::CallsignBox);
    if (verb == "line") return fake.SetInputLineText(arg);
    if (verb == "log") return void(fake.log = arg);
    if (verb == "fill") return void(fake.log = std::string(n, 'x'));
    if (verb == "readfail") return void(fake.readFails = true);
    ADD_FAILURE() << "unknown step " << verb;
  }

  void Set(const std::string& key, const std::string& value) {
    if (key == "LogTime") settings.LogTime = value == "1";
    if (key == "Auto") settings.Auto = value == "1";
    if (key == "Number") settings.Number = value;
    if (key == "CqLoopInterval") settings.CqLoopInterval = std::stof(value);
    if (key.starts_with("FnMsgA.")) settings.FnMsgA[std::stoi(key.substr(7)) - 1] = value;
  }

  static Modifiers ModifiersIn(const std::string& verb) {
    return {verb.find("Alt") != verb.npos, verb.find("Ctrl") != verb.npos,
            verb.find("Shift") != verb.npos};
  }

  static Key KeyNamed(const std::string& name) {
    std::istringstream names("Control Escape A K W Q S Z F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12");
    int index = 0;
    for (std::string next; names >> next && next != name;) ++index;
    return static_cast<Key>(index);
  }

  // "NAME wParam lParam", NAME a number or WM_KEYER_NAME.
  void Message(const std::string& text) {
    std::istringstream in(text);
    std::string name;
    long wParam = 0, lParam = 0;
    in >> name >> wParam >> lParam;
    std::istringstream names("DECODED DONE SPEED STATUS PADDLE INPUT UP DOWN RESET CHAR_SENT");
    unsigned message = WM_KEYER_DECODED;
    for (std::string next; names >> next && next != name;) ++message;
    if (name[0] <= '9') message = std::stoul(name);
    logic.OnKeyerMessage(message, wParam, lParam);
  }

  // "CQ|+4|K|<": text, speed steps and an erase, in order.
  static NetworkText NetworkPieces(const std::string& text) {
    NetworkText pieces;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, '|');) {
      if (part == "<")
        pieces.push_back({TextPiece::Kind::Erase, "", 0});
      else if (part.size() > 1 && (part[0] == '+' || part[0] == '-'))
        pieces.push_back({TextPiece::Kind::SpeedStep, "", std::stoi(part)});
      else
        pieces.push_back({TextPiece::Kind::Text, part, 0});
    }
    return pieces;
  }

  // Typed a character at a time, or all as one; the input line takes what is not consumed.
  void Type(const std::string& text, Modifiers modifiers, bool whole) {
    for (std::size_t at = 0; at < text.size(); at += whole ? text.size() : 1) {
      typed = logic.OnCharacter(whole ? text : text.substr(at, 1), modifiers);
      if (!typed.consumed && fake.focus == Control::InputLine) fake.inputLine += typed.character;
    }
  }

  void Status(int bufferState, int times = 1) {
    for (int i = 0; i < times; ++i) logic.OnKeyerMessage(WM_KEYER_STATUS, bufferState, 0x0F);
  }

  // Lets everything handed over go out, as the interface reports it.
  void Drain() {
    if (fake.firmware < 20) return logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
    while (!logic.State().PendingText.empty()) Status(1);
    Status(15, 3);
  }

  // Each call goes out and the repeat timer fires, until no timer pends or `calls` went out.
  void Repeat(int calls) {
    for (Drain(); fake.timer && --calls > 0; Drain()) logic.OnCqTimer();
  }

  // "?key=text", or "?key*N=text" for N times the text.
  void Check(const std::string& check) {
    const std::size_t equals = check.find('='), times = check.find('*');
    std::string expected;
    for (int n = times < equals ? std::stoi(check.substr(times + 1)) : 1; n > 0; --n)
      expected += check.substr(equals + 1);
    const std::string key = check.substr(0, std::min(times, equals));
    EXPECT_EQ(Observe(key), expected) << key;
  }

  std::string Observe(const std::string& key) {
    static const char* const kFocus[] = {"InputLine", "Call", "Report", "Speed", "Log", "Other"};
    if (key == "calls") return std::exchange(fake.calls, {});
    if (key == "sent") return fake.sent;
    if (key == "input") return fake.inputLine;
    if (key == "log") return fake.log;
    if (key == "logsize") return std::to_string(fake.log.size());
    if (key == "speed") return std::to_string(fake.controls.WPM);
    if (key == "wpm") return std::to_string(fake.fields.WPM);
    if (key == "engine") return std::to_string(fake.speed);
    if (key == "pending") return logic.State().PendingText;
    if (key == "cq") return std::to_string(logic.CqRepeatState().Count());
    if (key == "timer") return fake.timer ? std::to_string(*fake.timer) : "-";
    if (key == "timers") return std::exchange(fake.timerStarts, {});
    if (key == "focus") return kFocus[static_cast<int>(fake.focus)];
    if (key == "ptt") return std::to_string(fake.controls.PttCheck);
    if (key == "call") return fake.controls.HisCall;
    if (key == "report") return std::to_string(fake.controls.Report);
    if (key == "number") return settings.Number;
    if (key == "captions") {
      std::string joined;
      for (int i = 1; i < 13; ++i) joined += (i == 1 ? "" : "|") + fake.captions[i];
      EXPECT_TRUE(std::equal(&fake.toolTips[1], &fake.toolTips[11], &fake.captions[1]));
      return joined;
    }
    if (key == "passed") return typed.consumed ? "-" : typed.character;
    if (key == "consumed") return consumed ? "1" : "0";
    if (key == "keyed") return logic.QueuedTextKeyed() ? "1" : "0";
    if (key == "gate") return std::exchange(fake.gate, {}).erase(0, 1);
    if (key == "rest") return std::exchange(fake.gate, {}).ends_with("|R") ? "1" : "0";
    ADD_FAILURE() << "unknown check " << key;
    return {};
  }

  settings::Settings settings{
      .FnMsgA = settings::kDefaultBankA,
      .FnMsgB = {"B1 $C", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9", "B10"},
      .MyCALL = "JA1ZZZ"};
  Fakes fake;
  std::tm time{};
  OperatingLogic logic{fake, fake, settings, [this] { return time; }};
  TypedCharacter typed;
  bool consumed = false;
};

// Each session of the table in data/ on a rig of its own: a row that names a session starts it,
// the rows after it without a name go on with it.
void RunSessions(const std::string& table) {
  std::optional<OperatingRig> rig;
  std::string name;
  for (const std::vector<std::string>& row : ReadTable(VANTREL_OPERATING_DATA "/" + table)) {
    if (!row[0].empty()) {
      rig.emplace();
      name = row[0];
    }
    SCOPED_TRACE(name);
    rig->Run(row.at(1));
  }
}

// Typing, the pacing of queued text on the status reports, and the send, stop and clear buttons.
TEST(SendingTest, Sessions) {
  RunSessions("sending.txt");
}

// Function keys and their banks, macros, the CQ repeat and the hot keys.
TEST(MemoriesTest, Sessions) {
  RunSessions("memories.txt");
}

// The engine's notifications, text from a network client, and when the window may rest.
TEST(NotificationsTest, Sessions) {
  RunSessions("notifications.txt");
}

}  // namespace
}  // namespace vantrel::operating
