// What the main window keeps between runs in the group "Window": its geometry and whether
// the toolbar and the status bar are shown. Reading falls back on unusable stored texts;
// no widgets here, the window applies the values.
#pragma once

#include "platform/StoredGeometry.h"

namespace platform {
class SettingsStore;
}

namespace mGlyfora {

struct MainWindowSettings {
    platform::StoredGeometry Geometry;
    bool ToolBar = true;
    bool StatusBar = true;
};

MainWindowSettings LoadMainWindowSettings(const platform::SettingsStore& store);
// A geometry key without a value keeps what was stored before.
void SaveMainWindowSettings(platform::SettingsStore& store, const MainWindowSettings& settings);

} // namespace mGlyfora
