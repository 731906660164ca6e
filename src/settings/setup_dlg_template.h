#pragma once

#include <vector>

namespace vantrel::settings {

enum class ControlKind {
  kGroupBox,
  kLabel,
  kRadio,
  kEdit,
  kCheckBox,
  kDropList,
  kDefaultButton,
  kButton
};

// One control of the setup dialog's template; the rectangle is in dialog units.
struct ControlSpec {
  int id;  // 0 for static controls
  ControlKind kind;
  const char* caption;  // UTF-8, '&' marks the mnemonic
  int x, y, width, height;
};

inline constexpr int kSetupDialogWidth = 219;
inline constexpr int kSetupDialogHeight = 236;
inline constexpr int kSideToneListHeight = 59;

// Every control in template order, which is also the tab order.
const std::vector<ControlSpec>& SetupDialogTemplate();

}  // namespace vantrel::settings
