// Reading the help file and its keyword index.
#include "app/HelpDocument.h"

#include "platform/BoundedRead.h"
#include "platform/FileNames.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace mGlyfora {

namespace {
// A help document is a few hundred kilobytes at most; anything far larger is not ours.
constexpr qint64 MaxHelpFileBytes = 16 * 1024 * 1024;
// Why the help window stays empty.
const QString NoFile = QStringLiteral("ファイルがありません。");
const QString NotRegular = QStringLiteral("通常のファイルではありません。");
const QString TooLarge = QStringLiteral("ファイルが大きすぎます。");
} // namespace

std::optional<QString> ReadHelpFile(const QString& path, QString* error) {
    // Folders are not regular files either; other failures give the system's text alone.
    // Too large for memory is too large.
    const std::optional<QByteArray> bytes = platform::ReadBounded(
        platform::EncodeFileName(path), MaxHelpFileBytes,
        {{NoFile, NotRegular, NotRegular, QString()}, TooLarge, QString(), TooLarge}, error);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

QList<HelpKeyword> HelpIndex(const QString& html) {
    QList<HelpKeyword> keywords;
    const qsizetype begin = html.indexOf(QLatin1String("<!-- index -->"));
    if (begin < 0)
        return keywords;
    const qsizetype end = html.indexOf(QLatin1String("<!-- /index -->"), begin);
    const QString block = html.mid(begin, end < 0 ? -1 : end - begin);
    static const QRegularExpression link(
        QStringLiteral("<a\\s+href\\s*=\\s*\"#([^\"]+)\"\\s*>(.*?)</a>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    for (auto it = link.globalMatch(block); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString keyword =
            QTextDocumentFragment::fromHtml(match.captured(2)).toPlainText().simplified();
        if (!keyword.isEmpty())
            keywords.append({keyword, match.captured(1)});
    }
    return keywords;
}

} // namespace mGlyfora
