// Test process environment.
#include "tests/support/TestEnvironment.h"

#include "convert/ConversionSettings.h"
#include "imageops/RotateByAngle.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationRequest.h"
#include "platform/mGlyfora.h"
#include "wheel/mIntelli.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

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

void ResetProcessValues() {
    ClearSettings();
    mGlyfora::ProcessPlatform = {};
    mIntelli::ProcessWheel = {};
    mGlyfora::ProcessImage = {};
    mGlyfora::ProcessConvert = {};
    platform::ClearTerminationRequestForTests();
}

QString Stored(const QString& section, const QString& key) {
    return platform::SettingsStore().Read(section, key, QStringLiteral("<absent>"));
}

void Store(const QString& section, const QString& key, const QString& text) {
    platform::SettingsStore store;
    store.Write(section, key, text);
    QVERIFY(store.Sync());
}

QString SettingsFilePath() {
    return platform::SettingsStore().FileName();
}

} // namespace testsupport
