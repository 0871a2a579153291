// Turns SIGTERM, SIGINT and SIGHUP (logout, a terminal closed, kill) into an orderly
// close of every window, so the program's shutdown steps run and settings are kept.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // One instance per process; it closes all windows and then quits the application.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    static void Handler(int signal);
    void Received();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace platform
