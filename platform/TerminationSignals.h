// Turns SIGTERM, SIGINT and SIGHUP (logout, a terminal closed, kill) into an orderly
// close of every window, so the program's shutdown steps run and settings are kept.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // One instance per process. On a signal it ends every open dialog and message box,
    // closes all windows and then quits the application.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    static void Handler(int signal);
    void Received();

    QSocketNotifier* notifier_ = nullptr;
};

// True once a termination signal has arrived (set by the signal handler itself, so it
// holds even before the event loop has seen the signal). From then on nothing may wait
// for the person: message boxes return their default answer without showing.
bool TerminationRequested();

} // namespace platform
