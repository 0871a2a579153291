// LoadSettings / SaveSettings: eleven keys, read and written in one fixed order.
#include "app/Settings.h"

#include "app/SettingsTable.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"

namespace mGlyfora {

namespace {
const SettingDefinition& Conv(const char* key) {
    return Setting(QStringLiteral("Conversion"), QLatin1String(key));
}
const SettingDefinition& Html(const char* key) {
    return Setting(QStringLiteral("HTML"), QLatin1String(key));
}
const SettingDefinition& OpenDir() {
    return Setting(QStringLiteral("Open"), QStringLiteral("Directory"));
}
const SettingDefinition& SaveDir() {
    return Setting(QStringLiteral("Save"), QStringLiteral("Directory"));
}
const SettingDefinition& RecentMax() {
    return Setting(QStringLiteral("Recent Files"), QStringLiteral("Max"));
}
} // namespace

void LoadSettings(platform::SettingsStore& store) {
    ConversionSettingsRecord& cs = ConversionSettings;
    cs.X = quint8(ReadInteger(store, Conv("X")));
    cs.Y = quint8(ReadInteger(store, Conv("Y")));
    cs.Reverse = ReadBoolean(store, Conv("Reverse"));
    cs.Charactor = ReadText(store, Conv("Charactor"));
    cs.Before = ReadText(store, Html("Before"));
    cs.After = ReadText(store, Html("After"));
    cs.BeforeHTML = ReadText(store, Html("BeforeHTML"));
    cs.AfterHTML = ReadText(store, Html("AfterHTML"));
    const QString folder = platform::ProgramFolder();
    OpenDirectory = ReadText(store, OpenDir(), folder);
    SaveDirectory = ReadText(store, SaveDir(), folder);
    RecentFilesMax = qint16(ReadInteger(store, RecentMax()));
}

void SaveSettings(platform::SettingsStore& store) {
    const ConversionSettingsRecord& cs = ConversionSettings;
    WriteSetting(store, Conv("X"), QString::number(cs.X));
    WriteSetting(store, Conv("Y"), QString::number(cs.Y));
    WriteSetting(store, Conv("Reverse"), platform::BoolToText(cs.Reverse));
    WriteSetting(store, Conv("Charactor"), cs.Charactor);
    WriteSetting(store, Html("Before"), cs.Before);
    WriteSetting(store, Html("After"), cs.After);
    WriteSetting(store, Html("BeforeHTML"), cs.BeforeHTML);
    WriteSetting(store, Html("AfterHTML"), cs.AfterHTML);
    WriteSetting(store, OpenDir(), OpenDirectory);
    WriteSetting(store, SaveDir(), SaveDirectory);
    WriteSetting(store, RecentMax(), QString::number(RecentFilesMax));
}

} // namespace mGlyfora
