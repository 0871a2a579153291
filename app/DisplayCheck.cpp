// Looks for a display the way Qt's Wayland and X11 platform plugins would, without loading them.
#include "app/DisplayCheck.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace mGlyfora {

namespace {

// Needs a graphical display; glyfora-convert converts without one.
constexpr char kNoDisplayMessage[] =
    "glyfora の実行にはグラフィカルなディスプレイが必要です。"
    "ディスプレイなしで変換するには glyfora-convert を使ってください。\n";

// Does something listen on the Unix socket at this address? A leading NUL names an
// abstract socket. Non-blocking: a server too busy to accept at once still counts.
bool Listening(const QByteArray& address) {
    sockaddr_un addr{};
    if (address.isEmpty() || static_cast<size_t>(address.size()) >= sizeof addr.sun_path)
        return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, address.constData(), address.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const socklen_t length = offsetof(sockaddr_un, sun_path) + address.size();
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), length) == 0 ||
                    errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return ok;
}

// The value of one of Qt's own options, "-NAME VALUE" or "--NAME VALUE", as Qt reads them;
// null when it is not given.
QByteArray QtOption(int argc, const char* const* argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] == '-' && arg[1] == '-')
            ++arg;
        if (arg[0] == '-' && std::strcmp(arg + 1, name) == 0)
            return QByteArray(argv[i + 1]);
    }
    return {};
}

// libwayland's choice: WAYLAND_SOCKET (an inherited connection), else WAYLAND_DISPLAY, an
// absolute path or a name in XDG_RUNTIME_DIR.
bool WaylandAvailable(const EnvironmentReader& environment) {
    if (!environment("WAYLAND_SOCKET").isEmpty())
        return true;
    const QByteArray name = environment("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return false;
    if (name.startsWith('/'))
        return Listening(name);
    const QByteArray runtimeDir = environment("XDG_RUNTIME_DIR");
    return !runtimeDir.isEmpty() && Listening(runtimeDir + '/' + name);
}

// The display is Qt's -display option or DISPLAY, [HOST]:NUMBER[.SCREEN]; a local display
// (no host, or "unix") listens on /tmp/.X11-unix/X<NUMBER>, as an abstract socket and as a
// file.
bool XAvailable(const EnvironmentReader& environment, int argc, const char* const* argv) {
    QByteArray display = QtOption(argc, argv, "display");
    if (display.isNull())
        display = environment("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0)
        return false;
    const QByteArray host = display.left(colon);
    if (!host.isEmpty() && host != "unix")
        return true;
    QByteArray number = display.mid(colon + 1);
    number.truncate(number.indexOf('.') < 0 ? number.size() : number.indexOf('.'));
    bool digits = !number.isEmpty();
    for (const char c : number)
        digits = digits && c >= '0' && c <= '9';
    if (!digits)
        return false;
    const QByteArray path = "/tmp/.X11-unix/X" + number;
    return Listening(QByteArray(1, '\0') + path) || Listening(path);
}

} // namespace

bool DisplayAvailable(const EnvironmentReader& environment, int argc, const char* const* argv) {
    return !environment("QT_QPA_PLATFORM").isEmpty() ||
           !QtOption(argc, argv, "platform").isNull() || WaylandAvailable(environment) ||
           XAvailable(environment, argc, argv);
}

bool RequireDisplay(int argc, const char* const* argv) {
    const auto environment = [](const char* name) { return qgetenv(name); };
    if (DisplayAvailable(environment, argc, argv))
        return true;
    std::fputs(kNoDisplayMessage, stderr);
    return false;
}

} // namespace mGlyfora
