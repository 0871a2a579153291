// LoadSettings / SaveSettings: fourteen keys, read and written in one fixed order.
#include "app/Settings.h"

#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "platform/Paths.h"
#include "platform/SettingsTable.h"

namespace mGlyfora {

using platform::Setting;

void LoadSettings(platform::SettingsStore& store) {
    LoadConversionSettings(store);
    const QString folder = platform::ProgramFolder();
    OpenDirectory = ReadText(store, Setting::OpenDirectory, folder);
    SaveDirectory = ReadText(store, Setting::SaveDirectory, folder);
    RecentFilesMax = qint16(ReadInteger(store, Setting::RecentFilesMax));
}

void SaveSettings(platform::SettingsStore& store) {
    SaveConversionSettings(store);
    WriteText(store, Setting::OpenDirectory, OpenDirectory);
    WriteText(store, Setting::SaveDirectory, SaveDirectory);
    WriteInteger(store, Setting::RecentFilesMax, RecentFilesMax);
}

} // namespace mGlyfora
