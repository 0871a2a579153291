// Self-pipe signal handling: the handler only sets a flag and writes a byte; the event
// loop does the rest.
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {
int g_pipe[2] = {-1, -1};
} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Received);
    struct sigaction action = {};
    action.sa_handler = &TerminationSignals::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, SIG_DFL);
    for (int& fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::Handler(int) {
    // The interrupted code may be about to read errno: the write must not change it.
    const int savedErrno = errno;
    RequestTermination();
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_pipe[0], &byte, 1);
    errno = savedErrno;
}

void TerminationSignals::Received() {
    char byte;
    [[maybe_unused]] const auto read = ::read(g_pipe[1], &byte, 1);
    // No window may hold the end up: every open dialog and message box ends as if
    // cancelled, and every event loop, nested ones included, is told to leave. Windows
    // are not closed here: a dialog's owner may still be on the stack below its exec(),
    // so the shutdown steps run once the stack is unwound, after the main loop returns.
    // Boxes asked for from then on do not show.
    QList<QPointer<QDialog>> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            open << dialog;
    }
    for (const QPointer<QDialog>& dialog : open) {
        if (dialog)
            dialog->done(QDialog::Rejected);
    }
    QCoreApplication::exit(0);
}

} // namespace platform
