// Reading the help file and its keyword index.
#include "app/HelpDocument.h"

#include "platform/FileNames.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <unistd.h>

namespace mGlyfora {

namespace {
// A help document is a few hundred kilobytes at most; anything far larger is not ours.
constexpr qint64 MaxHelpFileBytes = 16 * 1024 * 1024;
// Why the help window stays empty.
const QString NoFile = QStringLiteral("ファイルがありません。");
const QString NotRegular = QStringLiteral("通常のファイルではありません。");
const QString TooLarge = QStringLiteral("ファイルが大きすぎます。");
} // namespace

std::optional<QString> ReadHelpFile(const QString& path, QString& error) {
    // A FIFO or device would block the program or never end.
    platform::RegularFile opened = platform::RegularFile::Open(platform::EncodeFileName(path));
    const platform::FileCheck& check = opened.Check();
    // Folders are not regular files either; other failures give the system's text alone.
    if (const QString refused =
            platform::RefusalText(check, {NoFile, NotRegular, NotRegular, QString()});
        !refused.isEmpty()) {
        error = refused;
        return std::nullopt;
    }
    if (check.size > MaxHelpFileBytes) {
        error = TooLarge;
        return std::nullopt;
    }
    const int fd = opened.Release();
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxHelpFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    if (bytes.size() > MaxHelpFileBytes) {
        error = TooLarge;
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
