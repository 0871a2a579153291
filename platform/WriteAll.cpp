// The one write loop.
#include "platform/WriteAll.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace platform {

bool WriteAll(int fd, const char* data, qsizetype size, WhenFull full) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && full == WhenFull::Wait) {
            pollfd ready{fd, POLLOUT, 0};
            ::poll(&ready, 1, -1);
            continue;
        }
        if (n < 0)
            return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

} // namespace platform
