#pragma once

#include "settings/settings.h"

namespace vantrel::operating {

enum class Bank { A, B };

inline constexpr int kSendToLogKey = 11;
inline constexpr int kFetchFromLogKey = 12;
inline constexpr const char* kSendToLogCaption = ">THL";
inline constexpr const char* kFetchFromLogCaption = "<THL";

// What the function buttons show for one bank: F1..F10 carry the messages as captions and
// tooltips; only bank A rewrites the captions of F11 and F12.
struct BankDisplay {
  settings::MessageBank messages;
  bool setsLogLinkCaptions = false;
};

BankDisplay MakeBankDisplay(const settings::Settings& settings, Bank bank);

}  // namespace vantrel::operating
