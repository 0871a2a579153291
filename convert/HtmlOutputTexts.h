// The fixed texts of saving a result as an HTML page.
#pragma once

#include <QString>

namespace HtmlOutputTexts {
inline const QString SaveTitle = QStringLiteral("名前をつけて保存");
inline const QString Filter = QStringLiteral("HTML Files|*.html;*.htm|All Files|*.*");
inline const QString BrowserFailed = QStringLiteral("ブラウザの起動に失敗しました。");
inline const QString NotSaved = QStringLiteral("ファイルを保存できませんでした。");
} // namespace HtmlOutputTexts
