// Safe creation, writing and read-back of the intermediate file.
#include "convert/IntermediateFile.h"

#include "platform/HugePages.h"
#include "platform/Utf8Decoder.h"

#include <QScopeGuard>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mGlyfora {

namespace {

constexpr qsizetype ReadChunkBytes = qsizetype(1) << 20;

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The checks every use of the file relies on: one regular file of ours, one name.
QString UnsafeReason(const struct stat& info) {
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("not a regular file");
    if (info.st_uid != geteuid())
        return QStringLiteral("owned by another user");
    if (info.st_nlink != 1)
        return QStringLiteral("linked under another name");
    return QString();
}

// Whether `path` still names the file (device, inode) without following a link.
bool StillAtPath(const QByteArray& path, dev_t device, ino_t inode) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && info.st_dev == device && info.st_ino == inode;
}

} // namespace

IntermediateFile::Status IntermediateFile::Fail(Status status, const QString& why) {
    error_ = QString::fromLocal8Bit(path_) + QStringLiteral(": ") + why;
    return status;
}

IntermediateFile::Status IntermediateFile::Open(const QString& path) {
    Close();
    path_ = path.toLocal8Bit();
    written_ = 0;
    // O_NONBLOCK keeps a planted FIFO from blocking the open; it is cleared below.
    fd_ = ::open(path_.constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd_ < 0) {
        const int error = errno;
        if (error == ELOOP)
            return Fail(Status::Unsafe, QStringLiteral("is a symbolic link"));
        return Fail(Status::Failed, SystemError(error));
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        Close();
        return Fail(Status::Failed, SystemError(error));
    }
    if (const QString why = UnsafeReason(info); !why.isEmpty()) {
        Close();
        return Fail(Status::Unsafe, why);
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        Close();
        return Fail(Status::Failed, SystemError(error));
    }
    return Status::Ok;
}

IntermediateFile::Status IntermediateFile::Lock() {
    if (fd_ < 0)
        return Fail(Status::Failed, QStringLiteral("not open"));
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            return Fail(Status::Busy, QStringLiteral("in use by another conversion"));
        return Fail(Status::Failed, SystemError(errno));
    }
    // Another copy of the program may have removed the unused file between our open
    // and our lock; writing on would fill a file nobody can find.
    if (!StillAtPath(path_, device_, inode_))
        return Fail(Status::Busy, QStringLiteral("removed by another program"));
    return Status::Ok;
}

bool IntermediateFile::RemoveUnused(const QString& path) {
    const QByteArray name = path.toLocal8Bit();
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT;
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !UnsafeReason(info).isEmpty())
        return false;
    // The lock is released only by closing, after the name is gone: a scan that opened
    // the file meanwhile finds it no longer at its path and starts a new one.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !StillAtPath(name, info.st_dev, info.st_ino))
        return false;
    return ::unlink(name.constData()) == 0;
}

bool IntermediateFile::Empty() {
    if (fd_ < 0 || ::ftruncate(fd_, 0) != 0 || ::fchmod(fd_, 0600) != 0 ||
        ::lseek(fd_, 0, SEEK_SET) != 0) {
        Fail(Status::Failed, SystemError(errno));
        return false;
    }
    written_ = 0;
    return true;
}

bool IntermediateFile::Write(const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(Status::Failed, SystemError(errno));
            return false;
        }
        data += n;
        size -= n;
        written_ += n;
    }
    return true;
}

IntermediateFile::Status IntermediateFile::OpenForReading(qsizetype units, int& in) {
    if (fd_ < 0)
        return Fail(Status::Failed, QStringLiteral("not open"));
    in = ::open(path_.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (in < 0)
        return Fail(Status::Failed, SystemError(errno));
    struct stat info {};
    QString problem;
    Status status = Status::Failed;
    if (::fstat(in, &info) != 0) {
        problem = SystemError(errno);
    } else if (info.st_dev != device_ || info.st_ino != inode_ || !UnsafeReason(info).isEmpty()) {
        problem = QStringLiteral("replaced during the conversion");
        status = Status::Unsafe;
    } else if (info.st_size != written_) {
        problem = QStringLiteral("changed during the conversion");
    } else if (units < 2 || units > written_) {
        problem = QStringLiteral("unexpected length");
    } else {
        return Status::Ok;
    }
    ::close(in);
    in = -1;
    return Fail(status, problem);
}

IntermediateFile::Status IntermediateFile::ReadBack(qsizetype units, qint64 memoryLimit,
                                                    QString& text) {
    text.clear();
    int in = -1;
    if (const Status status = OpenForReading(units, in); status != Status::Ok)
        return status;
    const auto closeIn = qScopeGuard([in] { ::close(in); });

    // Each byte decodes to at most one UTF-16 unit, so one chunk of slack suffices to
    // notice a longer text before anything is written past the end.
    const qsizetype capacity = units + ReadChunkBytes;
    if (qint64(capacity) * qint64(sizeof(QChar)) > memoryLimit)
        return Fail(Status::OutOfMemory, QStringLiteral("result too large for memory"));
    std::unique_ptr<char[]> chunk;
    try {
        text.resize(capacity);
        chunk.reset(new char[ReadChunkBytes]);
    } catch (const std::bad_alloc&) {
        text = QString();
        return Fail(Status::OutOfMemory, QStringLiteral("result too large for memory"));
    }

    platform::AdviseHugePages(text.data(), std::size_t(capacity) * sizeof(QChar));
    auto* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    qsizetype pending = 0; // bytes of a sequence cut off at the end of the last read
    bool valid = true;
    for (;;) {
        const ssize_t n = ::read(in, chunk.get() + pending, size_t(ReadChunkBytes - pending));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            text = QString();
            return Fail(Status::Failed, SystemError(errno));
        }
        if (n == 0)
            break;
        const qsizetype available = pending + n;
        qsizetype used = 0;
        const qsizetype decoded = platform::DecodeUtf8(chunk.get(), available, out, used);
        if (decoded < 0) {
            valid = false;
            break;
        }
        out += decoded;
        pending = available - used;
        std::memmove(chunk.get(), chunk.get() + used, size_t(pending));
        if (out - begin > units)
            break;
    }
    if (!valid || pending != 0 || out - begin != units || begin[units - 2] != u'\r' ||
        begin[units - 1] != u'\n') {
        text = QString();
        return Fail(Status::Failed, QStringLiteral("unexpected contents"));
    }
    text.resize(units - 2);
    return Status::Ok;
}

void IntermediateFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace mGlyfora
