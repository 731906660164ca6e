#include "operating/key_handling.h"

#include <gtest/gtest.h>

namespace vantrel::operating {
namespace {

constexpr Modifiers kNone{};
constexpr Modifiers kAlt{true, false, false};
constexpr Modifiers kCtrl{false, true, false};
constexpr Modifiers kShift{false, false, true};
constexpr Modifiers kCtrlAlt{true, true, false};
constexpr Modifiers kCtrlShift{false, true, true};

struct KeyCase {
  const char* name;
  Key key;
  Modifiers modifiers;
  Control focus;
  KeyDecision decision;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << c.name;
}

class DecideKeyDownTest : public testing::TestWithParam<KeyCase> {};

TEST_P(DecideKeyDownTest, FollowsTheKeyTable) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(DecideKeyDown(c.key, c.modifiers, c.focus), c.decision);
}

constexpr KeyDecision Consumed(KeyCommand command, int functionKey = 0) {
  return {command, true, functionKey};
}
constexpr KeyDecision Passed(KeyCommand command = KeyCommand::None) {
  return {command, false, 0};
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DecideKeyDownTest,
    testing::Values(
        KeyCase{"ctrl", Key::Control, kCtrl, Control::Log, Passed(KeyCommand::ShowBankB)},
        KeyCase{"ctrl_repeat_in_input", Key::Control, kCtrl, Control::InputLine,
                Passed(KeyCommand::ShowBankB)},
        KeyCase{"escape_input", Key::Escape, kNone, Control::InputLine,
                Consumed(KeyCommand::StopAndEndCq)},
        KeyCase{"escape_log", Key::Escape, kNone, Control::Log,
                Consumed(KeyCommand::FocusInputLine)},
        KeyCase{"escape_callsign", Key::Escape, kShift, Control::CallsignBox,
                Consumed(KeyCommand::FocusInputLine)},
        KeyCase{"alt_a", Key::A, kAlt, Control::Log, Consumed(KeyCommand::FocusCallsign)},
        KeyCase{"plain_a", Key::A, kNone, Control::InputLine, Passed()},
        KeyCase{"ctrl_a", Key::A, kCtrl, Control::InputLine, Passed()},
        KeyCase{"ctrl_k_input", Key::K, kCtrl, Control::InputLine,
                Consumed(KeyCommand::NewContact)},
        KeyCase{"ctrl_k_callsign", Key::K, kCtrl, Control::CallsignBox,
                Consumed(KeyCommand::NewContact)},
        KeyCase{"ctrl_k_log", Key::K, kCtrl, Control::Log, Passed()},
        KeyCase{"plain_k", Key::K, kNone, Control::InputLine, Passed()},
        KeyCase{"ctrl_w_input", Key::W, kCtrl, Control::InputLine,
                Consumed(KeyCommand::EmptyFocusedBox)},
        KeyCase{"ctrl_w_callsign", Key::W, kCtrl, Control::CallsignBox,
                Consumed(KeyCommand::EmptyFocusedBox)},
        KeyCase{"ctrl_w_report", Key::W, kCtrl, Control::ReportBox, Passed()},
        KeyCase{"ctrl_q_input", Key::Q, kCtrl, Control::InputLine, Consumed(KeyCommand::SpeedUp)},
        KeyCase{"ctrl_q_callsign", Key::Q, kCtrl, Control::CallsignBox, Passed()},
        KeyCase{"ctrl_s_input", Key::S, kCtrl, Control::InputLine, Consumed(KeyCommand::SpeedDown)},
        KeyCase{"ctrl_s_log", Key::S, kCtrl, Control::Log, Passed()},
        KeyCase{"ctrl_z_input", Key::Z, kCtrl, Control::InputLine, Consumed(KeyCommand::StartCq)},
        KeyCase{"ctrl_alt_z_input", Key::Z, kCtrlAlt, Control::InputLine,
                Consumed(KeyCommand::StartEndlessCq)},
        KeyCase{"ctrl_z_log", Key::Z, kCtrl, Control::Log, Passed()},
        KeyCase{"alt_z_input", Key::Z, kAlt, Control::InputLine, Passed()},
        KeyCase{"f1", Key::F1, kNone, Control::Log, Consumed(KeyCommand::FunctionKey, 1)},
        KeyCase{"ctrl_f1", Key::F1, kCtrl, Control::InputLine,
                Consumed(KeyCommand::FunctionKey, 1)},
        KeyCase{"f10", Key::F10, kNone, Control::InputLine, Consumed(KeyCommand::FunctionKey, 10)},
        KeyCase{"shift_f1", Key::F1, kShift, Control::InputLine, Passed()},
        KeyCase{"alt_f1", Key::F1, kAlt, Control::InputLine, Passed()},
        KeyCase{"ctrl_shift_f5", Key::F5, kCtrlShift, Control::InputLine, Passed()},
        KeyCase{"f11", Key::F11, kAlt, Control::Log, Passed(KeyCommand::SendToLog)},
        KeyCase{"f12", Key::F12, kShift, Control::InputLine, Passed(KeyCommand::FetchFromLog)},
        KeyCase{"other", Key::Other, kCtrl, Control::InputLine, Passed()}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel::operating
