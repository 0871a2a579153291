// Command-line tail to path, and the rule for which paths count.
#include "app/CommandLine.h"

#include "platform/FileNames.h"
#include "platform/RegularFile.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace mGlyfora {

QString CurrentFolder() {
    QByteArray buffer(PATH_MAX, '\0');
    while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
        if (errno != ERANGE)
            return QStringLiteral("/");
        buffer.resize(buffer.size() * 2);
    }
    return platform::DecodeFileName(QByteArray(buffer.constData()));
}

QString CommandLinePath(const QStringList& arguments, const QString& currentFolder) {
    const QString tail = arguments.mid(1).join(u' ');
    if (tail.isEmpty() || tail.startsWith(u'/'))
        return tail;
    return currentFolder + (currentFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) + tail;
}

bool CommandLineFileCounts(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (name.startsWith(u'.'))
        return false;
    return platform::CheckFile(platform::EncodeFileName(path)).kind == platform::FileKind::Regular;
}

} // namespace mGlyfora
