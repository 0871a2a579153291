// Reading and writing the main window's settings.
#include "app/MainWindowSettings.h"

#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "platform/SettingsValues.h"

namespace mGlyfora {

namespace {
const QString WindowSection = QStringLiteral("Window");
} // namespace

MainWindowSettings LoadMainWindowSettings(const platform::SettingsStore& store) {
    MainWindowSettings s;
    s.Geometry = platform::ReadStoredGeometry(store, WindowSection);
    s.ToolBar = ReadBoolean(store, platform::Setting(WindowSection, QStringLiteral("ToolBar")));
    s.StatusBar = ReadBoolean(store, platform::Setting(WindowSection, QStringLiteral("StatusBar")));
    return s;
}

void SaveMainWindowSettings(platform::SettingsStore& store, const MainWindowSettings& settings) {
    platform::WriteStoredGeometry(store, WindowSection, settings.Geometry);
    store.Write(WindowSection, QStringLiteral("ToolBar"), platform::BoolToText(settings.ToolBar));
    store.Write(WindowSection, QStringLiteral("StatusBar"),
                platform::BoolToText(settings.StatusBar));
}

} // namespace mGlyfora
