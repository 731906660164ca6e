#pragma once

#include <vector>

namespace vantrel::ui {

enum class MainControlKind {
  kLineEdit,
  kDigitsEdit,
  kUpDown,
  kLog,
  kLabel,
  kGroupBox,
  kRadio,
  kToggle,
  kButton,
  kDefaultButton,
  kLeftAlignedButton,
  kNarrowButton
};

// One control of the operating window's template; the rectangle is in dialog units.
struct MainControlSpec {
  int id;  // 0 for static controls
  MainControlKind kind;
  const char* caption;  // UTF-8, '&' marks the mnemonic
  int x, y, width, height;
  int buddy = 0;  // labels: the control their mnemonic focuses
};

inline constexpr int kMainDialogWidth = 267;
inline constexpr int kMainDialogHeight = 203;

// Every control in template order, which is also the tab order.
const std::vector<MainControlSpec>& MainDialogTemplate();

}  // namespace vantrel::ui
