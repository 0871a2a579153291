// The terminal's size from the kernel's record of its window.
#include "cli/TerminalSize.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace mGlyfora {

std::optional<TerminalGrid> TerminalGridOf(int fd) {
    winsize size{};
    if (fd < 0 || ::ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0)
        return std::nullopt;
    TerminalGrid grid{size.ws_col, size.ws_row, 0};
    if (size.ws_xpixel > 0 && size.ws_ypixel > 0)
        grid.cellAspect =
            (double(size.ws_ypixel) / size.ws_row) / (double(size.ws_xpixel) / size.ws_col);
    return grid;
}

} // namespace mGlyfora
