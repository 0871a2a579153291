// Atomic replacement of a file through a temporary file and rename(2).
#include "platform/AtomicFile.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
// The mode the replaced file keeps, or what a new file would get.
mode_t TargetMode(const QString& target) {
    struct stat info {};
    if (::stat(QFile::encodeName(target).constData(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}
} // namespace

AtomicFile::AtomicFile(const QString& path, Durability durability) : durability_(durability) {
    // A link is followed, so the file it names is the one replaced.
    const QFileInfo info(path);
    target_ = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

AtomicFile::~AtomicFile() = default;

bool AtomicFile::Open() {
    const QFileInfo info(target_);
    if (info.isDir()) {
        error_ = QStringLiteral("is a folder");
        return false;
    }
    temp_ = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") +
                                             info.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp_->open()) {
        error_ = temp_->errorString();
        temp_.reset();
        return false;
    }
    return true;
}

QIODevice& AtomicFile::Device() {
    return *temp_;
}

bool AtomicFile::Commit() {
    if (!temp_) {
        error_ = QStringLiteral("not open");
        return false;
    }
    if (temp_->error() != QFileDevice::NoError || !temp_->flush()) {
        error_ = temp_->errorString();
        return false;
    }
    if (durability_ == Durability::Synced && ::fsync(temp_->handle()) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::fchmod(temp_->handle(), TargetMode(target_)) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (::rename(QFile::encodeName(temp_->fileName()).constData(),
                 QFile::encodeName(target_).constData()) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    temp_->setAutoRemove(false);
    temp_->close();
    temp_.reset();
    return true;
}

} // namespace platform
