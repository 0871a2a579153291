// Whether the program has a graphical display, asked before any Qt platform plugin is:
// without one Qt ends in a fatal error and an abort, so the program says so in one line of
// its own instead and names glyfora-convert, which converts without a display.
#pragma once

#include <QByteArray>
#include <functional>

namespace mGlyfora {

// Reads one environment variable (empty when unset).
using EnvironmentReader = std::function<QByteArray(const char*)>;

// True when Qt has somewhere to show the program. A platform chosen explicitly
// (QT_QPA_PLATFORM, or Qt's "-platform NAME" on the command line: offscreen, vnc, ...) is
// the caller's choice and always passes. Otherwise a Wayland compositor or an X server
// must accept a connection on its local socket, where Qt would look for them (Qt's
// "-display NAME" counts as DISPLAY); an X display on another host (ssh forwarding) is taken
// on trust, as probing the network could hang.
bool DisplayAvailable(const EnvironmentReader& environment, int argc, const char* const* argv);

// With no display: writes the program's one line to standard error and returns false.
bool RequireDisplay(int argc, const char* const* argv);

} // namespace mGlyfora
