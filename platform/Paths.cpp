// Program, temporary and file folders.
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString ProgramFolder() {
    QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    return dir;
}

QString TempFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString dir = (!runtime.isEmpty() && QFileInfo(runtime).isDir()) ? runtime : QDir::tempPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString FolderOfPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString FileTitleOfPath(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace platform
