// Reading the help file and its keyword index.
#include "app/HelpDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace mGlyfora {

namespace {
// A help document is a few hundred kilobytes at most; anything far larger is not ours.
constexpr qint64 MaxHelpFileBytes = 16 * 1024 * 1024;
} // namespace

std::optional<QString> ReadHelpFile(const QString& path, QString& error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("ファイルがありません。");
        return std::nullopt;
    }
    // A FIFO or device would block the program or never end.
    if (!info.isFile() || info.isDir()) {
        error = QStringLiteral("通常のファイルではありません。");
        return std::nullopt;
    }
    if (info.size() > MaxHelpFileBytes) {
        error = QStringLiteral("ファイルが大きすぎます。");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxHelpFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > MaxHelpFileBytes) {
        error = QStringLiteral("ファイルが大きすぎます。");
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
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
