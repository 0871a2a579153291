// Safe creation, writing and read-back of the intermediate file.
#include "convert/IntermediateFile.h"

#include "convert/IntermediateFileTexts.h"
#include "convert/ScanHost.h"
#include "platform/HugePages.h"
#include "platform/RegularFile.h"
#include "platform/Utf8Decoder.h"
#include "platform/WriteAll.h"

#include <QScopeGuard>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mGlyfora {

namespace {

namespace Texts = IntermediateFileTexts;

constexpr qsizetype ReadChunkBytes = qsizetype(1) << 20;

// The checks every use of the file relies on: one regular file of ours, one name.
QString UnsafeReason(const struct stat& info) {
    if (!S_ISREG(info.st_mode))
        return Texts::NotRegular;
    if (info.st_uid != geteuid())
        return Texts::OtherOwner;
    if (info.st_nlink != 1)
        return Texts::SecondName;
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
            return Fail(Status::Unsafe, Texts::SymbolicLink);
        return Fail(Status::Failed, platform::SystemError(error));
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        Close();
        return Fail(Status::Failed, platform::SystemError(error));
    }
    if (const QString why = UnsafeReason(info); !why.isEmpty()) {
        Close();
        return Fail(Status::Unsafe, why);
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
    if (!platform::SetBlocking(fd_)) {
        const int error = errno;
        Close();
        return Fail(Status::Failed, platform::SystemError(error));
    }
    return Status::Ok;
}

IntermediateFile::Status IntermediateFile::Lock() {
    if (fd_ < 0)
        return Fail(Status::Failed, Texts::NotOpen);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            return Fail(Status::Busy, Texts::InUse);
        return Fail(Status::Failed, platform::SystemError(errno));
    }
    // Another copy of the program may have removed the unused file between our open
    // and our lock; writing on would fill a file nobody can find.
    if (!StillAtPath(path_, device_, inode_))
        return Fail(Status::Busy, Texts::Removed);
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
        Fail(Status::Failed, platform::SystemError(errno));
        return false;
    }
    written_ = 0;
    return true;
}

bool IntermediateFile::Write(const char* data, qsizetype size) {
    if (!platform::WriteAll(fd_, data, size)) {
        Fail(Status::Failed, platform::SystemError(errno));
        return false;
    }
    written_ += size;
    return true;
}

IntermediateFile::Status
IntermediateFile::ReadChunks(ScanHost& host,
                             const std::function<qsizetype(const char*, qsizetype)>& consume) {
    if (fd_ < 0)
        return Fail(Status::Failed, Texts::NotOpen);
    const int in = ::open(path_.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (in < 0)
        return Fail(Status::Failed, platform::SystemError(errno));
    const auto closeIn = qScopeGuard([in] { ::close(in); });
    struct stat info {};
    if (::fstat(in, &info) != 0)
        return Fail(Status::Failed, platform::SystemError(errno));
    if (info.st_dev != device_ || info.st_ino != inode_ || !UnsafeReason(info).isEmpty())
        return Fail(Status::Unsafe, Texts::Replaced);
    if (info.st_size != written_)
        return Fail(Status::Failed, Texts::Changed);

    std::unique_ptr<char[]> chunk(new (std::nothrow) char[ReadChunkBytes]);
    if (!chunk)
        return Fail(Status::OutOfMemory, Texts::TooLarge);
    // One chunk is read in a moment and leaves the bar as the rows left it.
    const qint64 chunks = (written_ + ReadChunkBytes - 1) / ReadChunkBytes;
    const bool shown = chunks > 1;
    if (shown)
        host.SetProgressRange(0, int(std::min<qint64>(chunks, std::numeric_limits<int>::max())));
    qsizetype pending = 0; // bytes the consumer left for the next chunk
    for (qint64 done = 0, read = 0; read < written_; ++done) {
        if (done > 0)
            host.ProcessEvents();
        if (host.CancelRequested())
            return Status::Cancelled;
        // Never more than was written: bytes added meanwhile must not reach the result.
        const qint64 wanted = std::min<qint64>(ReadChunkBytes - pending, written_ - read);
        ssize_t n;
        do
            n = ::read(in, chunk.get() + pending, size_t(wanted));
        while (n < 0 && errno == EINTR);
        if (n < 0)
            return Fail(Status::Failed, platform::SystemError(errno));
        if (n == 0)
            return Fail(Status::Failed, Texts::Changed);
        read += n;
        const qsizetype available = pending + n;
        const qsizetype used = consume(chunk.get(), available);
        if (used < 0)
            return Fail(Status::Failed, Texts::Unexpected);
        pending = available - used;
        std::memmove(chunk.get(), chunk.get() + used, size_t(pending));
        if (shown)
            host.SetProgress(int(std::min<qint64>(done + 1, std::numeric_limits<int>::max())));
    }
    if (pending != 0)
        return Fail(Status::Failed, Texts::Unexpected);
    // The file ends where the writing ended: one that grew meanwhile is not the result.
    char past;
    ssize_t more;
    do
        more = ::read(in, &past, 1);
    while (more < 0 && errno == EINTR);
    return more == 0 ? Status::Ok : Fail(Status::Failed, Texts::Changed);
}

IntermediateFile::Status IntermediateFile::ReadBack(qsizetype units, qint64 memoryLimit,
                                                    ScanHost& host, QString& text) {
    text.clear();
    if (units < 2 || units > written_)
        return Fail(Status::Failed, Texts::Unexpected);
    // Each byte decodes to at most one UTF-16 unit, so one chunk of slack suffices to
    // notice a longer text before anything is written past the end.
    const qsizetype capacity = units + ReadChunkBytes;
    if (qint64(capacity) * qint64(sizeof(QChar)) > memoryLimit)
        return Fail(Status::OutOfMemory, Texts::TooLarge);
    try {
        text.resize(capacity);
    } catch (const std::bad_alloc&) {
        text = QString();
        return Fail(Status::OutOfMemory, Texts::TooLarge);
    }

    platform::AdviseHugePages(text.data(), std::size_t(capacity) * sizeof(QChar));
    auto* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const Status status = ReadChunks(host, [&](const char* data, qsizetype size) -> qsizetype {
        qsizetype used = 0;
        const qsizetype decoded = platform::DecodeUtf8(data, size, out, used);
        if (decoded < 0)
            return -1;
        out += decoded;
        return out - begin > units ? -1 : used;
    });
    if (status == Status::Ok && out - begin == units && begin[units - 2] == u'\r' &&
        begin[units - 1] == u'\n') {
        text.resize(units - 2);
        return Status::Ok;
    }
    text = QString();
    return status == Status::Ok ? Fail(Status::Failed, Texts::Unexpected) : status;
}

IntermediateFile::Status
IntermediateFile::CopyTo(const std::function<bool(const char*, qsizetype)>& write, ScanHost& host) {
    return ReadChunks(host, [&write](const char* data, qsizetype size) -> qsizetype {
        return write(data, size) ? size : -1;
    });
}

void IntermediateFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace mGlyfora
