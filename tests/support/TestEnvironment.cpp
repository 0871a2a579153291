// Test process environment.
#include "tests/support/TestEnvironment.h"

#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace testsupport {

TestEnvironment::TestEnvironment() {
    const QString config = dir_.path() + QStringLiteral("/config");
    const QString runtime = dir_.path() + QStringLiteral("/runtime");
    QDir().mkpath(config);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void ClearSettings() {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("glyfora"),
                       QStringLiteral("glyfora"));
    settings.clear();
    settings.sync();
}

QString SettingsFilePath() {
    return platform::SettingsStore().FileName();
}

} // namespace testsupport
