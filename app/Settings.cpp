// LoadSettings / SaveSettings: fourteen keys, read and written in one fixed order.
#include "app/Settings.h"

#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"

namespace mGlyfora {

namespace {
const platform::SettingDefinition& OpenDir() {
    return platform::Setting(QStringLiteral("Open"), QStringLiteral("Directory"));
}
const platform::SettingDefinition& SaveDir() {
    return platform::Setting(QStringLiteral("Save"), QStringLiteral("Directory"));
}
const platform::SettingDefinition& RecentMax() {
    return platform::Setting(QStringLiteral("Recent Files"), QStringLiteral("Max"));
}
} // namespace

void LoadSettings(platform::SettingsStore& store) {
    LoadConversionSettings(store);
    const QString folder = platform::ProgramFolder();
    OpenDirectory = ReadText(store, OpenDir(), folder);
    SaveDirectory = ReadText(store, SaveDir(), folder);
    RecentFilesMax = qint16(ReadInteger(store, RecentMax()));
}

void SaveSettings(platform::SettingsStore& store) {
    SaveConversionSettings(store);
    WriteSetting(store, OpenDir(), OpenDirectory);
    WriteSetting(store, SaveDir(), SaveDirectory);
    WriteSetting(store, RecentMax(), QString::number(RecentFilesMax));
}

} // namespace mGlyfora
