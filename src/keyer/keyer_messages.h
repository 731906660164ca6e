#pragma once

namespace vantrel {

// Notifications the keyer engine posts to its window; the numbers are part of the window's
// dispatch table and stay fixed.
inline constexpr unsigned kWmUser = 0x400;
inline constexpr unsigned WM_KEYER_DECODED = kWmUser + 100;
inline constexpr unsigned WM_KEYER_TEXT_DONE = kWmUser + 101;
inline constexpr unsigned WM_KEYER_SPEED = kWmUser + 102;
inline constexpr unsigned WM_KEYER_STATUS = kWmUser + 103;
inline constexpr unsigned WM_KEYER_PADDLE = kWmUser + 104;
inline constexpr unsigned WM_KEYER_INPUT = kWmUser + 105;
inline constexpr unsigned WM_KEYER_SPEED_UP = kWmUser + 106;
inline constexpr unsigned WM_KEYER_SPEED_DOWN = kWmUser + 107;
inline constexpr unsigned WM_KEYER_SPEED_RESET = kWmUser + 108;
inline constexpr unsigned WM_KEYER_CHAR_SENT = kWmUser + 109;
inline constexpr unsigned WM_KEYER_WORD_SPACE = kWmUser + 110;

}  // namespace vantrel
