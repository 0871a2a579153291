// A file written as a whole or not at all: the bytes go to a temporary file beside the
// target, which replaces the target only when everything was written. A failed write
// leaves any earlier file intact. Saves of a person's work ask for the data to be on
// disk before the replace; output that can be made again may skip that wait.
#pragma once

#include <QFile>
#include <QString>
#include <memory>

class QTemporaryFile;

namespace platform {

class AtomicFile {
public:
    enum class Durability { Synced, Unsynced };

    AtomicFile(const QString& path, Durability durability);
    ~AtomicFile(); // an uncommitted temporary file is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open();
    // Where to write between Open and Commit.
    QIODevice& Device();
    // Replaces the target; false (target untouched) when any write or the replace failed.
    bool Commit();
    QString ErrorString() const { return error_; }

private:
    QString target_;
    Durability durability_;
    std::unique_ptr<QTemporaryFile> temp_;
    QString error_;
};

} // namespace platform
