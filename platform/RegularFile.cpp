// The one opener for files read whole (pictures, texts) and the one error text.
#include "platform/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileCheck CheckOf(const struct stat& status) {
    if (S_ISREG(status.st_mode))
        return FileCheck{FileKind::Regular, 0, qint64(status.st_size)};
    return FileCheck{S_ISDIR(status.st_mode) ? FileKind::Folder : FileKind::Other, 0, 0};
}

FileCheck Failed(int error) {
    return FileCheck{FileKind::Failed, error, 0};
}

} // namespace

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool SetBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

QString RefusalText(const FileCheck& check, const RefusalTexts& texts) {
    switch (check.kind) {
    case FileKind::Regular:
        return QString();
    case FileKind::Folder:
        return texts.folder;
    case FileKind::Other:
        return texts.notRegular;
    case FileKind::Failed:
        break;
    }
    if (check.error == ENOENT || check.error == ENOTDIR)
        return texts.notFound;
    return texts.cannotOpen + SystemError(check.error);
}

FileCheck CheckFile(const QByteArray& name) {
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return Failed(errno);
    return CheckOf(status);
}

RegularFile RegularFile::Open(const QByteArray& name) {
    const FileCheck named = CheckFile(name);
    if (named.kind != FileKind::Regular)
        return RegularFile(named);
    // Without O_NONBLOCK a FIFO put in the file's place since the check would block the
    // open; fstat then confirms what was really opened.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return RegularFile(Failed(errno));
    RegularFile file(named, fd);
    struct stat status {};
    if (::fstat(file.fd_, &status) != 0)
        file.check_ = Failed(errno);
    else
        file.check_ = CheckOf(status);
    if (file.check_.kind != FileKind::Regular) {
        ::close(file.Release());
        return file;
    }
    SetBlocking(file.fd_);
    return file;
}

RegularFile::RegularFile(RegularFile&& other) noexcept : check_(other.check_), fd_(other.fd_) {
    other.fd_ = -1;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

int RegularFile::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

} // namespace platform
