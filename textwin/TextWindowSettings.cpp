// Reading and writing the conversion window's settings.
#include "textwin/TextWindowSettings.h"

#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "platform/SettingsValues.h"

#include <cmath>

namespace mGlyfora {

namespace {
const QString WindowSection = QStringLiteral("Text\\Window");
const QString FontSection = QStringLiteral("Text\\Font");
const QString ColorSection = QStringLiteral("Text\\Color");

bool ReadFlag(const platform::SettingsStore& store, const char* key) {
    return platform::ReadBoolean(store, platform::Setting(FontSection, QLatin1String(key)));
}

QString SignedText(Colour colour) {
    return QString::number(qint32(colour));
}
} // namespace

TextWindowSettings LoadTextWindowSettings(const platform::SettingsStore& store) {
    TextWindowSettings s;
    s.Geometry = platform::ReadStoredGeometry(store, WindowSection);
    s.Font.Name = platform::ReadText(store, platform::Setting(FontSection, QStringLiteral("Name")));
    // An empty face name names no font: the default stands in.
    if (s.Font.Name.trimmed().isEmpty())
        s.Font.Name = platform::SettingDefault(FontSection, QStringLiteral("Name"));
    s.Font.Bold = ReadFlag(store, "Bold");
    s.Font.Italic = ReadFlag(store, "Itaric");
    s.Font.Strikethrough = ReadFlag(store, "Strikethrough");
    s.Font.Underline = ReadFlag(store, "Underline");
    s.Font.Size =
        platform::ReadSingle(store, platform::Setting(FontSection, QStringLiteral("Size")), 0);
    s.BackColor =
        platform::ReadColour(store, platform::Setting(ColorSection, QStringLiteral("BackColor")));
    s.ForeColor =
        platform::ReadColour(store, platform::Setting(ColorSection, QStringLiteral("ForeColor")));
    return s;
}

void SaveTextWindowSettings(platform::SettingsStore& store, const TextWindowSettings& settings) {
    platform::WriteStoredGeometry(store, WindowSection, settings.Geometry);
    const TextFontSettings& f = settings.Font;
    store.Write(FontSection, QStringLiteral("Name"), f.Name);
    store.Write(FontSection, QStringLiteral("Bold"), platform::BoolToText(f.Bold));
    store.Write(FontSection, QStringLiteral("Itaric"), platform::BoolToText(f.Italic));
    store.Write(FontSection, QStringLiteral("Strikethrough"),
                platform::BoolToText(f.Strikethrough));
    store.Write(FontSection, QStringLiteral("Underline"), platform::BoolToText(f.Underline));
    store.Write(FontSection, QStringLiteral("Size"), FontSizeText(f.Size));
    store.Write(ColorSection, QStringLiteral("BackColor"), SignedText(settings.BackColor));
    store.Write(ColorSection, QStringLiteral("ForeColor"), SignedText(settings.ForeColor));
}

QString FontSizeText(float size) {
    QString text = QString::number(std::round(double(size) * 10000) / 10000, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

} // namespace mGlyfora
