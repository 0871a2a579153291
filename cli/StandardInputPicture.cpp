// Standard input into a memory file.
#include "cli/StandardInputPicture.h"

#include "cli/ToolText.h"
#include "platform/ErrorText.h"
#include "platform/RegularFile.h"
#include "platform/WriteAll.h"

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace mGlyfora {

std::optional<StandardInputPicture> StandardInputPicture::Read(int input, qint64 limit,
                                                               QString* error) {
    const auto cannotHold = [error] {
        return platform::Failed(
            error, ToolText::tr("cannot hold the picture: %1").arg(platform::SystemError(errno)));
    };
    StandardInputPicture held(::memfd_create("glyfora-standard-input", MFD_CLOEXEC));
    if (held.fd_ < 0)
        return cannotHold();
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const ssize_t n = ::read(input, chunk.data(), size_t(chunk.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return platform::Failed(
                error, ToolText::tr("cannot read: %1").arg(platform::SystemError(errno)));
        if (n == 0)
            return held;
        total += n;
        if (total > limit)
            return platform::Failed(
                error, ToolText::tr("the picture is larger than %1 MiB").arg(limit >> 20));
        if (!platform::WriteAll(held.fd_, chunk.constData(), n))
            return cannotHold();
    }
}

StandardInputPicture::StandardInputPicture(StandardInputPicture&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

StandardInputPicture::~StandardInputPicture() {
    if (fd_ >= 0)
        ::close(fd_);
}

QString StandardInputPicture::Path() const {
    return QStringLiteral("/proc/self/fd/%1").arg(fd_);
}

} // namespace mGlyfora
