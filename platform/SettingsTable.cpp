// The settings table and its validating reads.
#include "platform/SettingsTable.h"

#include "platform/Colour.h"
#include "platform/ControlCharacters.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsValues.h"

#include <limits>

namespace platform {

namespace {

std::vector<SettingDefinition> BuildTable() {
    using K = SettingKind;
    const auto S = [](const char* s) { return QString::fromUtf8(s); };
    const QString after = S("</PRE></FONT>\r\n</BODY></HTML>");
    // Window edges in twips within 32 bits, as dialog positions are worked out: a stored
    // edge of 1e30 is damage, and the window takes its default instead.
    constexpr qint64 edgeMin = std::numeric_limits<qint32>::min();
    constexpr qint64 edgeMax = std::numeric_limits<qint32>::max();
    std::vector<SettingDefinition> t = {
        {S("Conversion"), S("X"), K::Integer, S("1"), 1, MaxCellSize},
        {S("Conversion"), S("Y"), K::Integer, S("1"), 1, MaxCellSize},
        {S("Conversion"), S("Reverse"), K::Boolean, S("False")},
        {S("Conversion"), S("Charactor"), K::Ramp, S(" .,:;!IU0OQRB&%@")},
        // The finish: 0 the program's own scan, 1 tone, 2 shape; brightness as the largest
        // component or as luminance; error diffusion for tone.
        {S("Conversion"), S("Style"), K::Integer, S("0"), 0, 2},
        {S("Conversion"), S("Luminance"), K::Boolean, S("False")},
        {S("Conversion"), S("Dither"), K::Boolean, S("True")},
        {S("HTML"), S("Before"), K::Text,
         S("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
           "<FONT STYLE=\"font-size: 6px; line-height: 0.6\"><PRE>")},
        {S("HTML"), S("After"), K::Text, after},
        // The mosaic's ■ full-width in the packaged Japanese fixed font, rows one em apart:
        // square cells without white rows between them (browsers here would otherwise
        // take DejaVu Sans Mono, whose ■ is 0.6 em wide in rows of 1.17 em).
        {S("HTML"), S("BeforeHTML"), K::Text,
         S("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
           "<FONT SIZE=\"1\" STYLE=\"font-size: 2px\">"
           "<PRE STYLE=\"font-family: IPAGothic; line-height: 1\">")},
        {S("HTML"), S("AfterHTML"), K::Text, after},
        {S("Open"), S("Directory"), K::Text, QString(), 0, 0, true},
        {S("Save"), S("Directory"), K::Text, QString(), 0, 0, true},
        {S("Recent Files"), S("Max"), K::Integer, QString::number(RecentFilesDefault), 0,
         RecentFilesLimit},
    };
    for (const char* key : {"Left", "Top", "Height", "Width"})
        t.push_back({S("Window"), S(key), K::Single, QString(), edgeMin, edgeMax, true});
    t.push_back({S("Window"), S("ToolBar"), K::Boolean, S("True")});
    t.push_back({S("Window"), S("StatusBar"), K::Boolean, S("True")});
    for (int i = 1; i <= RecentFilesLimit; ++i)
        t.push_back({S("Recent Files"), S("File") + QString::number(i), K::Text, QString()});
    for (const char* key : {"Left", "Top", "Height", "Width"})
        t.push_back({S("Text\\Window"), S(key), K::Single, QString(), edgeMin, edgeMax, true});
    t.push_back({S("Text\\Font"), S("Name"), K::Text, S("Terminal")});
    for (const char* key : {"Bold", "Itaric", "Strikethrough", "Underline"})
        t.push_back({S("Text\\Font"), S(key), K::Boolean, S("False")});
    // A font size must be positive; 2048 points is far beyond any screen.
    t.push_back({S("Text\\Font"), S("Size"), K::Single, S("4"), 1, 2048});
    t.push_back({S("Text\\Color"), S("BackColor"), K::Colour, S("-2147483643")});
    t.push_back({S("Text\\Color"), S("ForeColor"), K::Colour, S("-2147483640")});
    return t;
}

} // namespace

bool IsUsableRamp(const QString& ramp) {
    qsizetype characters = 0;
    for (qsizetype i = 0; i < ramp.size(); ++i) {
        const char16_t unit = ramp.at(i).unicode();
        if (IsControlCharacter(ramp.at(i)))
            return false;
        // The second half of a surrogate pair belongs to the character before it.
        if (!(QChar::isLowSurrogate(unit) && i > 0 && ramp.at(i - 1).isHighSurrogate()))
            ++characters;
    }
    return characters >= 1 && characters <= MaxRampCharacters;
}

const std::vector<SettingDefinition>& SettingsTable() {
    static const std::vector<SettingDefinition> table = BuildTable();
    return table;
}

const SettingDefinition& Setting(const QString& section, const QString& key) {
    for (const SettingDefinition& s : SettingsTable()) {
        if (s.section == section && s.key == key)
            return s;
    }
    qFatal("unknown setting %s/%s", qPrintable(section), qPrintable(key));
}

QString SettingDefault(const QString& section, const QString& key) {
    return Setting(section, key).defaultText;
}

qint64 ReadInteger(const SettingsStore& store, const SettingDefinition& setting) {
    const qint64 fallback = setting.defaultText.toLongLong();
    return TextToInteger(store.Read(setting.section, setting.key, setting.defaultText), fallback,
                         setting.min, setting.max);
}

bool ReadBoolean(const SettingsStore& store, const SettingDefinition& setting) {
    const bool fallback = TextToBool(setting.defaultText, false);
    return TextToBool(store.Read(setting.section, setting.key, setting.defaultText), fallback);
}

float ReadSingle(const SettingsStore& store, const SettingDefinition& setting, float fallback) {
    if (!setting.computed)
        fallback = TextToSingle(setting.defaultText, fallback);
    const float value =
        TextToSingle(store.Read(setting.section, setting.key, SingleToText(fallback)), fallback);
    if (setting.min < setting.max && (value < float(setting.min) || value > float(setting.max)))
        return fallback;
    return value;
}

QString ReadText(const SettingsStore& store, const SettingDefinition& setting,
                 const QString& fallback) {
    const QString defaultText = setting.computed ? fallback : setting.defaultText;
    const QString text = store.Read(setting.section, setting.key, defaultText);
    if (setting.kind == SettingKind::Ramp && !IsUsableRamp(text))
        return defaultText;
    return text;
}

quint32 ReadColour(const SettingsStore& store, const SettingDefinition& setting) {
    const qint64 fallback = setting.defaultText.toLongLong();
    const qint64 value =
        TextToInteger(store.Read(setting.section, setting.key, setting.defaultText), fallback,
                      std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    const auto colour = quint32(qint32(value));
    return IsValidColourValue(colour) ? colour : quint32(qint32(fallback));
}

void WriteSetting(SettingsStore& store, const SettingDefinition& setting, const QString& text) {
    store.Write(setting.section, setting.key, text);
}

} // namespace platform
