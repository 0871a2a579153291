// File-system helpers of the tests.
#include "tests/support/TestFiles.h"

#include "platform/FileNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace testsupport {

QByteArray ReadAll(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return "<missing>";
    ::fcntl(fd, F_SETFL, 0);
    QByteArray bytes;
    char chunk[4096];
    for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, n);
    ::close(fd);
    return bytes;
}

QByteArray ReadAll(const QString& path) {
    return ReadAll(platform::EncodeFileName(path));
}

bool WriteFile(const QByteArray& path, const QByteArray& bytes, mode_t mode) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written && ::chmod(path.constData(), mode) == 0;
}

bool WriteFile(const QString& path, const QByteArray& bytes, mode_t mode) {
    return WriteFile(platform::EncodeFileName(path), bytes, mode);
}

mode_t ModeOf(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 ? info.st_mode : 0;
}

mode_t ModeOf(const QString& path) {
    return ModeOf(platform::EncodeFileName(path));
}

mode_t TypeOf(const QByteArray& path) {
    return ModeOf(path) & S_IFMT;
}

mode_t TypeOf(const QString& path) {
    return TypeOf(platform::EncodeFileName(path));
}

bool MakeFifo(const QString& path) {
    return ::mkfifo(platform::EncodeFileName(path).constData(), 0600) == 0;
}

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
        return QString();
    const QString path = folder + u'/' + QLatin1String(name);
    const QByteArray bytes = platform::EncodeFileName(path);
    ::unlink(bytes.constData());
    if (::mknod(bytes.constData(), S_IFCHR | 0666, makedev(1, minor)) != 0)
        return QString();
    return path;
}

} // namespace testsupport
