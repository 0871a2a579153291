// Entry point of the glyfora executable.
#include "app/Main.h"
#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "platform/QtDialogs.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationSignals.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyfora"));
    QApplication::setApplicationVersion(QStringLiteral(GLYFORA_VERSION));
    mGlyfora::PrepareApplication(app);

    platform::TerminationSignals terminationSignals;
    platform::QtDialogs dialogs;
    platform::SettingsStore store;
    const auto mainWindow = mGlyfora::Main(
        dialogs, store, mGlyfora::CommandLinePath(QApplication::arguments(), QDir::currentPath()));
    return QApplication::exec();
}
