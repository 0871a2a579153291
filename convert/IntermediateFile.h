// The scans' intermediate file: created only as a private regular file of this user,
// never through a symbolic link, locked against a second scan for as long as it is in
// use, written as the program's scan sink, and read back as one text or copied as it is.
#pragma once

#include "convert/ScanSink.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/types.h>

namespace mGlyfora {

class ScanHost;

class IntermediateFile : public ScanSink {
public:
    enum class Status { Ok, Unsafe, Busy, Failed, OutOfMemory, Cancelled };

    IntermediateFile() = default;
    ~IntermediateFile() override { Close(); }
    IntermediateFile(const IntermediateFile&) = delete;
    IntermediateFile& operator=(const IntermediateFile&) = delete;

    // Opens or creates (mode 0600) the file for writing. Unsafe when the path is a
    // symbolic link, not a regular file, owned by another user or linked under another
    // name; nothing in the file is changed by this call.
    Status Open(const QString& path);
    // An exclusive lock held until Close; Busy while another scan holds it, or when the
    // file was removed from its path before the lock was had (open it again).
    Status Lock();
    // Empties the file and makes it private (mode 0600).
    bool Empty();
    bool Write(const char* data, qsizetype size) override;

    // Both ways out read the file in chunks: between them the host's events are let
    // through and its bar counts the chunks; a cancel or a request to end meanwhile
    // answers Cancelled.

    // Reads the file back as UTF-8 into text, which must come to exactly `units`
    // UTF-16 units ending in CR LF; that final CR LF is cut. OutOfMemory when the text
    // would pass memoryLimit bytes or cannot be allocated.
    Status ReadBack(qsizetype units, qint64 memoryLimit, ScanHost& host, QString& text);
    // Hands every byte written, unchanged, to `write`; Failed when it refuses some.
    Status CopyTo(const std::function<bool(const char*, qsizetype)>& write, ScanHost& host);
    // Bytes written since the file was emptied.
    qint64 Size() const { return written_; }

    void Close();
    QString ErrorString() const override { return error_; }

    // Removes the file at `path` when it is a regular file of this user that no scan
    // holds: another copy of the program may be converting through it. True when
    // nothing is left at the path.
    static bool RemoveUnused(const QString& path);

private:
    Status Fail(Status status, const QString& why);
    // Offers the file's bytes to `consume` chunk by chunk; it answers the bytes it used
    // (the rest comes again at the front of the next chunk), or -1 to stop (Failed). The
    // file is first checked to be the one written, unchanged.
    Status ReadChunks(ScanHost& host,
                      const std::function<qsizetype(const char*, qsizetype)>& consume);

    int fd_ = -1;
    QByteArray path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    qint64 written_ = 0;
    QString error_;
};

} // namespace mGlyfora
