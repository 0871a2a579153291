// Reading and writing the main window's settings.
#include "app/MainWindowSettings.h"

#include "platform/SettingsTable.h"

namespace mGlyfora {

namespace {
using platform::Setting;
constexpr platform::GeometryKeys Geometry = {Setting::WindowLeft, Setting::WindowTop,
                                             Setting::WindowHeight, Setting::WindowWidth};
} // namespace

MainWindowSettings LoadMainWindowSettings(const platform::SettingsStore& store) {
    MainWindowSettings s;
    s.Geometry = ReadStoredGeometry(store, Geometry);
    s.ToolBar = ReadBoolean(store, Setting::WindowToolBar);
    s.StatusBar = ReadBoolean(store, Setting::WindowStatusBar);
    return s;
}

void SaveMainWindowSettings(platform::SettingsStore& store, const MainWindowSettings& settings) {
    WriteStoredGeometry(store, Geometry, settings.Geometry);
    WriteBoolean(store, Setting::WindowToolBar, settings.ToolBar);
    WriteBoolean(store, Setting::WindowStatusBar, settings.StatusBar);
}

} // namespace mGlyfora
