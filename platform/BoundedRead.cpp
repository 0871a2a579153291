// The one whole-file read.
#include "platform/BoundedRead.h"

#include "platform/ErrorText.h"

#include <cerrno>
#include <new>
#include <unistd.h>

namespace platform {

std::optional<QByteArray> ReadBounded(const QByteArray& name, qint64 limit, const ReadTexts& texts,
                                      QString* error) {
    const RegularFile opened = RegularFile::Open(name);
    const FileCheck& check = opened.Check();
    if (const QString refused = RefusalText(check, texts.refusal); !refused.isEmpty())
        return Failed(error, refused);
    if (check.size > limit)
        return Failed(error, texts.tooLarge);
    QByteArray bytes;
    try {
        // The size is a hint: a file that grows meanwhile is read to its end. One byte
        // more than the size lets the end show without growing the buffer, and one byte
        // more than the limit shows a file past it.
        qint64 capacity = qMin(qMax<qint64>(check.size + 1, 4096), limit + 1);
        bytes.resize(capacity);
        qint64 used = 0;
        for (;;) {
            if (used == capacity) {
                if (capacity > limit)
                    return Failed(error, texts.tooLarge);
                capacity = qMin(capacity * 2, limit + 1);
                bytes.resize(capacity);
            }
            const ssize_t got =
                ::read(opened.Descriptor(), bytes.data() + used, size_t(capacity - used));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return Failed(error, texts.cannotRead + SystemError(errno));
            if (got == 0)
                break;
            used += got;
        }
        bytes.truncate(used);
    } catch (const std::bad_alloc&) {
        return Failed(error, texts.outOfMemory);
    }
    return bytes;
}

} // namespace platform
