// Standard input into a memory file.
#include "cli/StandardInputPicture.h"

#include "cli/ToolText.h"
#include "platform/RegularFile.h"
#include "platform/WriteAll.h"

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace mGlyfora {

StandardInputPicture::StandardInputPicture(int input, qint64 limit) {
    fd_ = ::memfd_create("glyfora-standard-input", MFD_CLOEXEC);
    if (fd_ < 0) {
        error_ = ToolText::tr("cannot hold the picture: %1").arg(platform::SystemError(errno));
        return;
    }
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::read(input, chunk.data(), size_t(chunk.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = ToolText::tr("cannot read: %1").arg(platform::SystemError(errno));
            break;
        }
        if (n == 0)
            return;
        total += n;
        if (total > limit) {
            error_ = ToolText::tr("the picture is larger than %1 MiB").arg(limit >> 20);
            break;
        }
        if (!platform::WriteAll(fd_, chunk.constData(), n)) {
            error_ = ToolText::tr("cannot hold the picture: %1").arg(platform::SystemError(errno));
            break;
        }
    }
    ::close(fd_);
    fd_ = -1;
}

StandardInputPicture::~StandardInputPicture() {
    if (fd_ >= 0)
        ::close(fd_);
}

QString StandardInputPicture::Path() const {
    return fd_ >= 0 ? QStringLiteral("/proc/self/fd/%1").arg(fd_) : QString();
}

} // namespace mGlyfora
