// Entry point of the glyfora executable.
#include "app/Main.h"
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/frmMain.h"
#include "platform/FileNames.h"
#include "platform/QtDialogs.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (!mGlyfora::RequireDisplay(argc, argv))
        return 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyfora"));
    QApplication::setApplicationVersion(QStringLiteral(GLYFORA_VERSION));
    mGlyfora::PrepareApplication(app);

    platform::TerminationSignals terminationSignals;
    platform::QtDialogs dialogs;
    platform::SettingsStore store;
    // QApplication has taken its own options out of argc and argv; the rest is the tail,
    // read from its bytes so that any file name survives.
    const QString commandLinePath =
        mGlyfora::CommandLinePath(platform::DecodeArguments(argc, argv), mGlyfora::CurrentFolder());
    const auto mainWindow = mGlyfora::Main(dialogs, store, commandLinePath);
    // A termination signal during start-up (a start-up message box, say) ends the program
    // here, through its ordinary shutdown steps.
    if (platform::TerminationRequested()) {
        mainWindow->close();
        return 0;
    }
    const int status = QApplication::exec();
    // A termination signal ends the loop without closing any window (a dialog's owner may
    // have been on the stack then): the shutdown steps run here, once, on an unwound stack.
    mainWindow->close();
    return status;
}
