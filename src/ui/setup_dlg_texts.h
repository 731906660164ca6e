#pragma once

#include <QString>

namespace vantrel::ui {

inline const QString kMessageTitle = QStringLiteral("Vantrel");
inline const QString kDecimalExpectedText = QStringLiteral("数値を入力してください。");
inline const QString kWholeExpectedText = QStringLiteral("正の整数を入力してください。");
inline const QString kDecimalRangeText =
    QStringLiteral("%1 から %2 までの数値を入力してください。");
inline const QString kWholeRangeText = QStringLiteral("%1 から %2 までの整数を入力してください。");
inline const QString kTooLongText = QStringLiteral("%1 バイト以内で入力してください。");
inline const QString kSaveFailedText = QStringLiteral("設定を保存できません。");

}  // namespace vantrel::ui
