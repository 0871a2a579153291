// Reading and writing the conversion window's settings.
#include "textwin/TextWindowSettings.h"

#include "platform/SettingsTable.h"

#include <cmath>

namespace mGlyfora {

namespace {
using platform::Setting;
constexpr platform::GeometryKeys Geometry = {Setting::TextWindowLeft, Setting::TextWindowTop,
                                             Setting::TextWindowHeight, Setting::TextWindowWidth};
} // namespace

TextWindowSettings LoadTextWindowSettings(const platform::SettingsStore& store) {
    TextWindowSettings s;
    s.Geometry = ReadStoredGeometry(store, Geometry);
    s.Font.Name = ReadText(store, Setting::TextFontName);
    // An empty face name names no font: the default stands in.
    if (s.Font.Name.trimmed().isEmpty())
        s.Font.Name = SettingDefault(Setting::TextFontName);
    s.Font.Bold = ReadBoolean(store, Setting::TextFontBold);
    s.Font.Italic = ReadBoolean(store, Setting::TextFontItalic);
    s.Font.Strikethrough = ReadBoolean(store, Setting::TextFontStrikethrough);
    s.Font.Underline = ReadBoolean(store, Setting::TextFontUnderline);
    s.Font.Size = ReadSingle(store, Setting::TextFontSize, 0);
    s.BackColor = ReadColour(store, Setting::TextBackColor);
    s.ForeColor = ReadColour(store, Setting::TextForeColor);
    return s;
}

void SaveTextWindowSettings(platform::SettingsStore& store, const TextWindowSettings& settings) {
    WriteStoredGeometry(store, Geometry, settings.Geometry);
    const platform::FontRecord& f = settings.Font;
    WriteText(store, Setting::TextFontName, f.Name);
    WriteBoolean(store, Setting::TextFontBold, f.Bold);
    WriteBoolean(store, Setting::TextFontItalic, f.Italic);
    WriteBoolean(store, Setting::TextFontStrikethrough, f.Strikethrough);
    WriteBoolean(store, Setting::TextFontUnderline, f.Underline);
    // Four decimals at most, not the shortest text that reads back as the same size.
    WriteText(store, Setting::TextFontSize, FontSizeText(f.Size));
    WriteColour(store, Setting::TextBackColor, settings.BackColor);
    WriteColour(store, Setting::TextForeColor, settings.ForeColor);
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
