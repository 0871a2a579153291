// Saving a file without harm to what stood there. A chain of symbolic links is followed
// to its end, so the links stay links. A regular file (or a new one) is written as a
// whole or not at all: the bytes go to a temporary file beside it, which replaces it
// only when everything was written. An earlier file is replaced only when it could be
// written in place (a shell's redirection would refuse the others), and the new file
// keeps its permission bits. Anything else at the end of the chain (a pipe, a device, a
// socket, standard output reached through /dev/stdout) cannot be replaced and is written
// directly; a named pipe that nobody reads fails at once. Every write and the close are
// checked; on failure no temporary file is left behind and ErrorString() holds the
// system's reason.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <sys/types.h>

namespace platform {

class OutputFile {
public:
    // Saves of a person's work ask for the data to be on disk before the replace; output
    // that can be made again may skip that wait.
    enum class Durability { Synced, Unsynced };

    // A file to save at `path`, a name as DecodeFileName gives it (any bytes).
    OutputFile(const QString& path, Durability durability);
    // An open descriptor (standard output) written as it is; Commit closes it.
    explicit OutputFile(int descriptor);
    ~OutputFile(); // an uncommitted temporary file is removed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Follows the links and opens the temporary file or the target itself.
    bool Open();
    // Writes all of it; false when the system refused part of it.
    bool Write(const char* data, qsizetype size);
    bool Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }
    // Closes and, for a replaced file, puts the new file in place keeping the earlier
    // file's mode. False (an earlier file untouched) when anything failed.
    bool Commit();

    // True when the target is written in place rather than replaced.
    bool WritesDirectly() const { return direct_; }
    // The system's reason for the last failure.
    QString ErrorString() const { return error_; }

private:
    bool Fail(int error);
    bool Fail(const QString& why);
    bool OpenDirect(const QByteArray& path, bool magic);
    bool ConnectSocket(const QByteArray& path);
    bool OpenTemporary(const QByteArray& target, mode_t mode);
    // The start of a temporary file's name beside the target: ".NAME."
    static QByteArray TempName(const QByteArray& target);
    // Gives the unnamed temporary file a name beside the target.
    bool NameUnnamed();
    // Puts the named temporary file in the target's place; 0 or the system's error.
    int Replace(bool synced);
    void Discard();

    QByteArray path_;   // as given
    QByteArray target_; // the end of the link chain
    QByteArray tempPath_;
    Durability durability_ = Durability::Unsynced;
    int fd_ = -1;
    bool direct_ = false;
    bool unnamed_ = false;   // an O_TMPFILE file that has no name until Commit
    mode_t mode_ = 0;        // of the replaced file, or what a new file would get
    bool replacing_ = false; // an earlier regular file stands at the target
    uid_t owner_ = 0;
    gid_t group_ = 0;
    QString error_;
};

} // namespace platform
