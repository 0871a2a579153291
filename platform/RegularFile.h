// Reading only what is a regular file: a FIFO or device put in a file's place never
// blocks the program, and a check made by name is confirmed on what was really opened.
// Also the system's text for an error number, for messages that add it.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// strerror in the local encoding.
QString SystemError(int error);

// Clears O_NONBLOCK, with which a file is opened so that a FIFO cannot block the open.
bool SetBlocking(int fd);

enum class FileKind { Regular, Folder, Other, Failed };

struct FileCheck {
    FileKind kind = FileKind::Failed;
    int error = 0;   // errno when kind is Failed; ENOENT or ENOTDIR: nothing at the name
    qint64 size = 0; // of a regular file
};

// What `name` leads to, links followed.
FileCheck CheckFile(const QByteArray& name);

// The caller's words for a name that is not a regular file.
struct RefusalTexts {
    QString notFound;   // nothing at the name (ENOENT, ENOTDIR)
    QString folder;     // a folder
    QString notRegular; // a FIFO, device or socket
    QString cannotOpen; // before the system's text of any other failure
};

// The text for a check that is not a regular file; empty for one that is.
QString RefusalText(const FileCheck& check, const RefusalTexts& texts);

// A regular file open for reading, links followed: blocking, close-on-exec, closed with
// the object unless released.
class RegularFile {
public:
    // stat, refuse what is not a regular file, open without blocking, fstat to confirm
    // what was opened, then clear the non-blocking flag.
    static RegularFile Open(const QByteArray& name);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&&) = delete;
    ~RegularFile();

    bool IsOpen() const { return fd_ >= 0; }
    // Why it is not open (kind and error), or kind Regular and the size when it is.
    const FileCheck& Check() const { return check_; }
    int Descriptor() const { return fd_; }
    // Hands the descriptor over: the caller closes it.
    int Release();

private:
    explicit RegularFile(const FileCheck& check, int fd = -1) : check_(check), fd_(fd) {}

    FileCheck check_;
    int fd_ = -1;
};

} // namespace platform
