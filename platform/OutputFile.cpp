// Link resolution, temporary files, checked writes and the final replace of OutputFile.
#include "platform/OutputFile.h"

#include "platform/FileNames.h"
#include "platform/RegularFile.h"
#include "platform/WriteAll.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

// The program shows this as written; glyfora-convert's catalogue has it in English.
const char* const NoReader =
    QT_TRANSLATE_NOOP("OutputFile", "名前付きパイプを読み出しているプログラムがありません。");

// As many links as the kernel itself follows in one path.
constexpr int MaxLinks = 40;
// Room for ".", the suffix and a random part within a 255-byte file name.
constexpr qsizetype MaxTempStemBytes = 200;

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray NameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// Links in /proc (/proc/self/fd/1, which /dev/stdout names) lead to open files, not to
// paths: they are opened, never read as text.
bool InProc(const QByteArray& folder) {
    struct statfs info {};
    return ::statfs(folder.constData(), &info) == 0 && info.f_type == PROC_SUPER_MAGIC;
}

// The descriptor of this process such a link names, or -1. It is duplicated rather than
// reopened, so a socket works and a file keeps its offset and append mode.
int OwnDescriptor(const QByteArray& link) {
    char real[PATH_MAX];
    if (!::realpath(FolderOf(link).constData(), real))
        return -1;
    const QByteArray folder(real);
    const QByteArray process = "/proc/" + QByteArray::number(::getpid());
    if (folder != process + "/fd" &&
        folder != process + "/task/" + QByteArray::number(::gettid()) + "/fd")
        return -1;
    bool ok = false;
    const int descriptor = NameOf(link).toInt(&ok);
    return ok && descriptor >= 0 ? descriptor : -1;
}

// Follows the links at `path` to the end of the chain: a name that does not exist, a
// link into /proc, or anything that is not a link. 0 or the system's error number.
int Resolve(QByteArray& path, bool& exists, bool& magic, struct stat& info) {
    for (int links = 0;; ++links) {
        if (::lstat(path.constData(), &info) != 0) {
            if (errno != ENOENT)
                return errno;
            exists = false;
            return 0;
        }
        exists = true;
        if (!S_ISLNK(info.st_mode))
            return 0;
        if (InProc(FolderOf(path))) {
            magic = true;
            return 0;
        }
        if (links == MaxLinks)
            return ELOOP;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length < 0)
            return errno;
        if (size_t(length) == sizeof target)
            return ENAMETOOLONG;
        const QByteArray next(target, length);
        // A relative target is relative to the folder holding the link.
        path = next.startsWith('/') ? next : FolderOf(path) + '/' + next;
    }
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

OutputFile::OutputFile(const QString& path, Durability durability)
    : path_(EncodeFileName(path)), durability_(durability) {}

OutputFile::OutputFile(int descriptor) : fd_(descriptor), direct_(true) {}

OutputFile::~OutputFile() {
    Discard();
}

bool OutputFile::Fail(int error) {
    return Fail(QString::fromLocal8Bit(std::strerror(error)));
}

bool OutputFile::Fail(const QString& why) {
    error_ = why;
    return false;
}

void OutputFile::Discard() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!tempPath_.isEmpty())
        ::unlink(std::exchange(tempPath_, QByteArray()).constData());
}

bool OutputFile::Open() {
    error_.clear();
    if (direct_ && path_.isEmpty()) // a descriptor given at construction
        return ::fcntl(fd_, F_GETFL) >= 0 || Fail(errno);
    if (fd_ >= 0)
        return true;
    if (path_.isEmpty())
        return Fail(ENOENT);
    QByteArray path = path_;
    bool exists = false, magic = false;
    struct stat info {};
    if (const int error = Resolve(path, exists, magic, info))
        return Fail(error);
    target_ = path;
    if (magic)
        return OpenDirect(path, true);
    if (!exists)
        return OpenTemporary(path, NewFileMode());
    if (S_ISDIR(info.st_mode))
        return Fail(EISDIR);
    if (S_ISREG(info.st_mode)) {
        // Replaced only where it could be written in place, as a shell's redirection
        // would: a file of another user, or a read-only one of one's own, stays.
        if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
            return Fail(errno);
        owner_ = info.st_uid;
        group_ = info.st_gid;
        replacing_ = true;
        return OpenTemporary(path, info.st_mode & 07777);
    }
    return OpenDirect(path, false);
}

bool OutputFile::OpenDirect(const QByteArray& path, bool magic) {
    direct_ = true;
    if (magic) {
        if (const int own = OwnDescriptor(path); own >= 0) {
            fd_ = ::fcntl(own, F_DUPFD_CLOEXEC, 0);
            return fd_ >= 0 || Fail(errno);
        }
    } else {
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0 && S_ISSOCK(info.st_mode))
            return ConnectSocket(path);
    }
    // Opened without blocking: a pipe nobody reads fails at once instead of waiting,
    // deaf to every signal, for a reader that may never come.
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK | (magic ? O_TRUNC : O_NOFOLLOW);
    fd_ = ::open(path.constData(), flags);
    if (fd_ < 0) {
        struct stat info {};
        if (errno == ENXIO && ::stat(path.constData(), &info) == 0 && S_ISFIFO(info.st_mode))
            return Fail(QCoreApplication::translate("OutputFile", NoReader));
        return Fail(errno);
    }
    SetBlocking(fd_);
    return true;
}

bool OutputFile::ConnectSocket(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return Fail(ENAMETOOLONG);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return Fail(errno);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int error = errno;
        Discard();
        return Fail(error);
    }
    return true;
}

bool OutputFile::OpenTemporary(const QByteArray& target, mode_t mode) {
    mode_ = mode;
    const QByteArray folder = FolderOf(target);
    // A file without a name vanishes with the process, however it ends; it is named
    // only to be renamed over the target.
    fd_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ >= 0) {
        unnamed_ = true;
        return true;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return Fail(errno);
    QByteArray name = TempName(target) + "XXXXXX";
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        return Fail(errno);
    tempPath_ = name;
    return true;
}

QByteArray OutputFile::TempName(const QByteArray& target) {
    return FolderOf(target) + "/." + NameOf(target).left(MaxTempStemBytes) + '.';
}

bool OutputFile::Write(const char* data, qsizetype size) {
    if (fd_ < 0)
        return Fail(EBADF);
    return WriteAll(fd_, data, size, WhenFull::Wait) || Fail(errno);
}

bool OutputFile::NameUnnamed() {
    const QByteArray stem = TempName(target_);
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name =
            stem + QByteArray::number(QRandomGenerator::system()->generate64(), 36);
        int result =
            ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno == ENOENT) // no /proc: the privileged form
            result = ::linkat(fd_, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH);
        if (result == 0) {
            tempPath_ = name;
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

int OutputFile::Replace(bool synced) {
    // ext4 writes a whole new file out before a rename that replaces another, its guard
    // for programs that never sync. Output that can be made again need not wait for
    // that: the earlier file is swapped out, as atomically, and then removed.
    if (replacing_ && !synced) {
        if (::renameat2(AT_FDCWD, tempPath_.constData(), AT_FDCWD, target_.constData(),
                        RENAME_EXCHANGE) == 0) {
            ::unlink(tempPath_.constData());
            return 0;
        }
        if (errno != EINVAL && errno != ENOSYS && errno != ENOENT && errno != EOPNOTSUPP)
            return errno;
    }
    return ::rename(tempPath_.constData(), target_.constData()) == 0 ? 0 : errno;
}

bool OutputFile::Commit() {
    if (fd_ < 0)
        return Fail(EBADF);
    const bool synced = durability_ == Durability::Synced;
    if (direct_) {
        // A pipe or terminal cannot be synced; that is no failure.
        if (synced && ::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
            return Fail(errno);
        const int result = ::close(std::exchange(fd_, -1));
        return result == 0 || errno == EINTR || Fail(errno);
    }
    int error = 0;
    if (synced && ::fsync(fd_) != 0)
        error = errno;
    // Only root can give the new file the earlier file's owner; others keep their own,
    // and then no set-user or set-group bit of the earlier owner's.
    if (!error && replacing_ && (owner_ != ::geteuid() || group_ != ::getegid()) &&
        ::fchown(fd_, owner_, group_) != 0)
        mode_ &= ~mode_t(S_ISUID | S_ISGID);
    if (!error && ::fchmod(fd_, mode_) != 0)
        error = errno;
    if (!error && unnamed_ && !NameUnnamed()) {
        Discard();
        return false;
    }
    if (!error && ::close(std::exchange(fd_, -1)) != 0 && errno != EINTR)
        error = errno;
    if (!error)
        error = Replace(synced);
    if (error) {
        Discard();
        return Fail(error);
    }
    tempPath_.clear();
    if (synced) {
        // The rename itself reaches the disk with its folder.
        const int folder =
            ::open(FolderOf(target_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    return true;
}

} // namespace platform
