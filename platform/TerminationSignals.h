// Turns SIGTERM, SIGINT and SIGHUP (logout, a terminal closed, kill) into an orderly
// end: every wait for the person ends and the event loops leave, so the program's
// shutdown steps run and settings are kept.
#pragma once

#include "platform/TerminationRequest.h"

#include <QObject>

class QSocketNotifier;

namespace platform {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // One instance per process. On a signal it ends every open dialog and message box
    // and leaves every event loop; whoever called the application's exec() then runs
    // the shutdown steps (closes the main window).
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    static void Handler(int signal);
    void Received();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace platform
