// Output names for a folder of results.
#include "cli/BatchNames.h"

#include "cli/ToolText.h"

#include <QSet>

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

} // namespace mGlyfora
