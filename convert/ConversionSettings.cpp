// Reading and writing the conversion parameters.
#include "convert/ConversionSettings.h"

#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"

namespace mGlyfora {

namespace {
const platform::SettingDefinition& Conv(const char* key) {
    return platform::Setting(QStringLiteral("Conversion"), QLatin1String(key));
}
const platform::SettingDefinition& Html(const char* key) {
    return platform::Setting(QStringLiteral("HTML"), QLatin1String(key));
}
} // namespace

void LoadConversionSettings(const platform::SettingsStore& store) {
    ConversionSettingsRecord& cs = ConversionSettings;
    cs.X = quint8(ReadInteger(store, Conv("X")));
    cs.Y = quint8(ReadInteger(store, Conv("Y")));
    cs.Reverse = ReadBoolean(store, Conv("Reverse"));
    cs.Charactor = ReadText(store, Conv("Charactor"));
    cs.Style = quint8(ReadInteger(store, Conv("Style")));
    cs.Luminance = ReadBoolean(store, Conv("Luminance"));
    cs.Dither = ReadBoolean(store, Conv("Dither"));
    cs.Before = ReadText(store, Html("Before"));
    cs.After = ReadText(store, Html("After"));
    cs.BeforeHTML = ReadText(store, Html("BeforeHTML"));
    cs.AfterHTML = ReadText(store, Html("AfterHTML"));
}

void SaveConversionSettings(platform::SettingsStore& store) {
    const ConversionSettingsRecord& cs = ConversionSettings;
    WriteSetting(store, Conv("X"), QString::number(cs.X));
    WriteSetting(store, Conv("Y"), QString::number(cs.Y));
    WriteSetting(store, Conv("Reverse"), platform::BoolToText(cs.Reverse));
    WriteSetting(store, Conv("Charactor"), cs.Charactor);
    WriteSetting(store, Conv("Style"), QString::number(cs.Style));
    WriteSetting(store, Conv("Luminance"), platform::BoolToText(cs.Luminance));
    WriteSetting(store, Conv("Dither"), platform::BoolToText(cs.Dither));
    WriteSetting(store, Html("Before"), cs.Before);
    WriteSetting(store, Html("After"), cs.After);
    WriteSetting(store, Html("BeforeHTML"), cs.BeforeHTML);
    WriteSetting(store, Html("AfterHTML"), cs.AfterHTML);
}

} // namespace mGlyfora
