// Command-line tail to path.
#include "app/CommandLine.h"

#include <QDir>

namespace mGlyfora {

QString CommandLinePath(const QStringList& arguments, const QString& currentFolder) {
    const QString tail = arguments.mid(1).join(u' ');
    if (tail.isEmpty())
        return QString();
    return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(tail));
}

} // namespace mGlyfora
