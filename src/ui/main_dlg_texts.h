#pragma once

#include <QString>

namespace vantrel::ui {

inline const QString kMainTitle = QStringLiteral("Vantrel");
inline const QString kAboutEntryText = QStringLiteral("Vantrel のバージョン情報(&A)...");
inline const QString kAboutTitle = QStringLiteral("Vantrelのバージョン情報");
inline const QString kAboutProgramLine = QStringLiteral("Vantrel Version 0.1.0 (2025年)");
inline const QString kAboutRightsLine = QStringLiteral("Copyright (C) 2025 Vantrel の開発者");
inline const QString kAboutVersionPlaceholder = QStringLiteral("Halvix Ver.?");
inline const QString kCallSignTip = QStringLiteral("CallSign");
inline const QString kReportTip = QStringLiteral("RST");
inline const QString kF11Caption = QStringLiteral(">THL");
inline const QString kF12Caption = QStringLiteral("<THL");
// Shown in the title while paddle decoding reads Japanese (Wabun) Morse.
inline const QString kKanaModeMark = QStringLiteral("和文");
// Shown in the title while a network client's text is queued or keyed.
inline const QString kNetKeyingMark = QStringLiteral("ネットワーク送信中");

}  // namespace vantrel::ui
