// A whole file read into memory, up to a limit. Only a regular file is read (RegularFile:
// a FIFO or device put in its place never blocks the program), and one that grows while
// it is read is read to its end or until it passes the limit.
#pragma once

#include "platform/RegularFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The caller's words for each way a read fails.
struct ReadTexts {
    RefusalTexts refusal; // not a regular file, or not opened
    QString tooLarge;     // more than the limit, by its size or by what was read
    QString cannotRead;   // before the system's text of a failed read
    QString outOfMemory;
};

// The bytes of the file at `name` when it holds at most `limit` of them; otherwise
// nothing, with the reason in `error` (ErrorText.h). No more than `limit` + 1 bytes are
// ever read.
std::optional<QByteArray> ReadBounded(const QByteArray& name, qint64 limit, const ReadTexts& texts,
                                      QString* error);

} // namespace platform
