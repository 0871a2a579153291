// Output names for a folder of results.
#include "cli/BatchNames.h"

#include "cli/ToolText.h"
#include "platform/FileNames.h"

#include <QSet>
#include <optional>
#include <sys/stat.h>

namespace mGlyfora {

QString StandardInputName() {
    return ToolText::tr("standard input");
}

QString PictureBaseName(const QString& path) {
    if (path == QLatin1String("-"))
        return StandardInputBaseName;
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0)
        return name.left(dot);
    // A picture named "dir/" fails to load; it still needs a name of its own.
    return name.isEmpty() ? QStringLiteral("picture") : name;
}

QStringList OutputFileNames(const QStringList& pictures, const QString& suffix) {
    QStringList names;
    QSet<QString> taken;
    for (const QString& picture : pictures) {
        const QString base = PictureBaseName(picture);
        QString name = base + suffix;
        for (int n = 2; taken.contains(name); ++n)
            name = base + u'-' + QString::number(n) + suffix;
        taken.insert(name);
        names << name;
    }
    return names;
}

namespace {

std::optional<QPair<quint64, quint64>> FileOf(const QString& path) {
    struct stat info {};
    if (::stat(platform::EncodeFileName(path).constData(), &info) != 0)
        return std::nullopt;
    return qMakePair(quint64(info.st_dev), quint64(info.st_ino));
}

} // namespace

QString ReplacesPictureText(const QStringList& pictures, qsizetype own, qsizetype replaced) {
    if (replaced == own)
        return ToolText::tr("the result would replace the picture itself");
    return ToolText::tr("the result would replace the picture %1")
        .arg(platform::ShownFileName(pictures.at(replaced)));
}

PictureFiles::PictureFiles(const QStringList& pictures) {
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        if (pictures.at(i) == QLatin1String("-"))
            continue;
        if (const auto file = FileOf(pictures.at(i)); file && !files_.contains(*file))
            files_.insert(*file, i);
    }
}

qsizetype PictureFiles::Find(const QString& output) const {
    const auto file = FileOf(output);
    return file ? files_.value(*file, -1) : -1;
}

} // namespace mGlyfora
