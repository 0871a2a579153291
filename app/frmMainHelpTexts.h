// The main window's Help menu and help messages.
#pragma once

#include <QString>

namespace frmMainTexts {

inline const QString HelpMenu = QStringLiteral("ヘルプ(&H)");
inline const QString HelpTopics = QStringLiteral("トピック(&T)...");
inline const QString About = QStringLiteral("バージョン情報(&A)...");

inline const QString HelpFileUnreadable = QStringLiteral("ヘルプ ファイルを開けません。");
inline const QString HelpFileCheck =
    QStringLiteral("glyfora.hlp がプログラムと同じフォルダーにあるか確認してください。");

} // namespace frmMainTexts
