// File-system helpers of the tests.
#include "tests/support/TestFiles.h"

#include "platform/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace testsupport {

QStringList Names(const QString& folder) {
    QStringList names;
    if (DIR* listing = ::opendir(platform::EncodeFileName(folder).constData())) {
        while (const dirent* entry = ::readdir(listing)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(platform::DecodeFileName(name));
        }
        ::closedir(listing);
    }
    names.sort();
    return names;
}

QString DeviceNode(const QString& folder, const char* name, unsigned minor) {
    if (::geteuid() != 0)
        return QStringLiteral("/dev/") + QLatin1String(name);
    const QString path = folder + u'/' + QLatin1String(name);
    const QByteArray bytes = platform::EncodeFileName(path);
    ::unlink(bytes.constData());
    if (::mknod(bytes.constData(), S_IFCHR | 0666, makedev(1, minor)) != 0)
        return QString();
    return path;
}

} // namespace testsupport
