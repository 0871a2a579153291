// Writing a whole buffer to a descriptor: write(2) may take only part of it, or be
// interrupted by a signal before it takes anything.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace platform {

// What a write does when a descriptor opened without blocking has no room.
enum class WhenFull {
    Fail, // at once: a terminal that takes nothing (output stopped) must not hold the run
    Wait, // for room: standard output may have been left non-blocking by whoever opened it
};

// Writes all `size` bytes, resuming after a partial write or a signal. False, with errno
// saying why, when the system refused the rest (EIO when it took nothing without a reason).
bool WriteAll(int fd, const char* data, qsizetype size, WhenFull full = WhenFull::Fail);
inline bool WriteAll(int fd, QByteArrayView bytes, WhenFull full = WhenFull::Fail) {
    return WriteAll(fd, bytes.data(), bytes.size(), full);
}

} // namespace platform
