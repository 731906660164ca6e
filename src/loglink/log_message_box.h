#pragma once

#include <string_view>

namespace vantrel::loglink {

enum class MessageIcon { kExclamation, kError };

// A modal message box with an OK button that the window shows for a failed exchange.
struct LogMessageBox {
  std::string_view text;
  std::string_view caption;
  MessageIcon icon;
};

inline constexpr std::string_view kLogCaption = "ハムログコントロール";
inline constexpr LogMessageBox kLogProgramNotFound{"Turbo HAMLOGが見つかりません", kLogCaption,
                                                   MessageIcon::kExclamation};
inline constexpr LogMessageBox kInvalidCommand{"コマンドが不正です", kLogCaption,
                                               MessageIcon::kError};

// The Linux loggers take the callsign and report handed to them but cannot be asked (F12).
inline constexpr LogMessageBox kLogCannotAsk{
    "このログソフトからは呼出符号とレポートを取得できません", kLogCaption,
    MessageIcon::kExclamation};
// Another program (fldigi itself, or a second Vantrel) holds the port the loggers poll.
inline constexpr LogMessageBox kLogPortInUse{"ログソフト連携用のポートが他のプログラムで使用中です",
                                             kLogCaption, MessageIcon::kExclamation};
inline constexpr LogMessageBox kXlogNotFound{"xlogが見つかりません", kLogCaption,
                                             MessageIcon::kExclamation};

}  // namespace vantrel::loglink
