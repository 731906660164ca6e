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

}  // namespace vantrel::loglink
