#pragma once

#include <string>
#include <vector>

#include "operating/network_text.h"

namespace vantrel::operating {

// The operating window's fields: the values of its controls, exchanged in bulk, and the send
// state kept beside them. Text is CP932 bytes, the log with "\r\n" line ends.
struct WindowFields {
  unsigned WPM = 20;
  std::string LogText;
  int PttCheck = 0;
  std::string HisCall;
  int SendMode = 0;
  int Report = 599;
  int DecodeCheck = 0;

  std::string PendingText;
  // The front byte of PendingText is the trail byte of a double-byte character.
  bool TrailByteNext = false;
  // Speed changes a network client placed between characters of PendingText, in order.
  std::vector<SpeedMark> PendingSpeedMarks;
  // Older firmware: network text held back behind a speed change until the text before it
  // has been played.
  NetworkText HeldNetworkText;
  bool SettingsApplied = false;
  int CqRepeatCount = 0;
  int PaceCountdown = 0;
  bool ClearBeforeNext = false;
  // True while the CQ repeat timer is pending.
  bool CqTimer = false;
};

inline constexpr int kSequentialMode = 0;
inline constexpr int kBlockMode = 1;

}  // namespace vantrel::operating
