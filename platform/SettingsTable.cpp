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
    using enum Setting;
    const auto S = [](const char* s) { return QString::fromUtf8(s); };
    const QString after = S("</PRE></FONT>\r\n</BODY></HTML>");
    // Window edges in twips within 32 bits, as dialog positions are worked out: a stored
    // edge of 1e30 is damage, and the window takes its default instead.
    constexpr qint64 edgeMin = std::numeric_limits<qint32>::min();
    constexpr qint64 edgeMax = std::numeric_limits<qint32>::max();
    std::vector<SettingDefinition> t = {
        {ConversionX, S("Conversion"), S("X"), K::Integer, S("1"), 1, MaxCellSize},
        {ConversionY, S("Conversion"), S("Y"), K::Integer, S("1"), 1, MaxCellSize},
        {ConversionReverse, S("Conversion"), S("Reverse"), K::Boolean, S("False")},
        {ConversionCharactor, S("Conversion"), S("Charactor"), K::Ramp, S(" .,:;!IU0OQRB&%@")},
        // The finish: 0 the program's own scan, 1 tone, 2 shape; brightness as the largest
        // component or as luminance; error diffusion for tone.
        {ConversionStyle, S("Conversion"), S("Style"), K::Integer, S("0"), 0, 2},
        {ConversionLuminance, S("Conversion"), S("Luminance"), K::Boolean, S("False")},
        {ConversionDither, S("Conversion"), S("Dither"), K::Boolean, S("True")},
        {HtmlBefore, S("HTML"), S("Before"), K::Text,
         S("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
           "<FONT STYLE=\"font-size: 6px; line-height: 0.6\"><PRE>")},
        {HtmlAfter, S("HTML"), S("After"), K::Text, after},
        // The mosaic's ■ full-width in the packaged Japanese fixed font, rows one em apart:
        // square cells without white rows between them (browsers here would otherwise
        // take DejaVu Sans Mono, whose ■ is 0.6 em wide in rows of 1.17 em).
        {HtmlBeforeHtml, S("HTML"), S("BeforeHTML"), K::Text,
         S("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
           "<FONT SIZE=\"1\" STYLE=\"font-size: 2px\">"
           "<PRE STYLE=\"font-family: IPAGothic; line-height: 1\">")},
        {HtmlAfterHtml, S("HTML"), S("AfterHTML"), K::Text, after},
        {OpenDirectory, S("Open"), S("Directory"), K::Text, QString(), 0, 0, true},
        {SaveDirectory, S("Save"), S("Directory"), K::Text, QString(), 0, 0, true},
        {RecentFilesMax, S("Recent Files"), S("Max"), K::Integer,
         QString::number(RecentFilesDefault), 0, RecentFilesLimit},
    };
    const auto edge = [&](Setting id, const QString& section, const char* key) {
        t.push_back({id, section, S(key), K::Single, QString(), edgeMin, edgeMax, true});
    };
    edge(WindowLeft, S("Window"), "Left");
    edge(WindowTop, S("Window"), "Top");
    edge(WindowHeight, S("Window"), "Height");
    edge(WindowWidth, S("Window"), "Width");
    t.push_back({WindowToolBar, S("Window"), S("ToolBar"), K::Boolean, S("True")});
    t.push_back({WindowStatusBar, S("Window"), S("StatusBar"), K::Boolean, S("True")});
    for (int i = 0; i < RecentFilesLimit; ++i)
        t.push_back({RecentFile(i), S("Recent Files"), S("File") + QString::number(i + 1), K::Text,
                     QString()});
    edge(TextWindowLeft, S("Text\\Window"), "Left");
    edge(TextWindowTop, S("Text\\Window"), "Top");
    edge(TextWindowHeight, S("Text\\Window"), "Height");
    edge(TextWindowWidth, S("Text\\Window"), "Width");
    const QString font = S("Text\\Font");
    t.push_back({TextFontName, font, S("Name"), K::Text, S("Terminal")});
    t.push_back({TextFontBold, font, S("Bold"), K::Boolean, S("False")});
    t.push_back({TextFontItalic, font, S("Itaric"), K::Boolean, S("False")});
    t.push_back({TextFontStrikethrough, font, S("Strikethrough"), K::Boolean, S("False")});
    t.push_back({TextFontUnderline, font, S("Underline"), K::Boolean, S("False")});
    // A font size must be positive; 2048 points is far beyond any screen.
    t.push_back({TextFontSize, font, S("Size"), K::Single, S("4"), 1, 2048});
    t.push_back({TextBackColor, S("Text\\Color"), S("BackColor"), K::Colour, S("-2147483643")});
    t.push_back({TextForeColor, S("Text\\Color"), S("ForeColor"), K::Colour, S("-2147483640")});
    // One row for each key, in the enumeration's order: a key is its row's index.
    bool inPlace = t.size() == size_t(SettingCount);
    for (size_t i = 0; inPlace && i < t.size(); ++i)
        inPlace = t[i].id == Setting(i);
    if (!inPlace)
        qFatal("settings table: a key without its row, or a row out of place");
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

Setting RecentFile(int index) {
    if (index < 0 || index >= RecentFilesLimit)
        qFatal("no recent-files entry %d", index);
    return Setting(int(Setting::RecentFile1) + index);
}

const SettingDefinition& Definition(Setting setting) {
    return SettingsTable()[size_t(setting)];
}

QString SettingDefault(Setting setting) {
    return Definition(setting).defaultText;
}

qint64 ReadInteger(const SettingsStore& store, Setting key) {
    const SettingDefinition& s = Definition(key);
    const qint64 fallback = s.defaultText.toLongLong();
    return TextToInteger(store.Read(s.section, s.key, s.defaultText), fallback, s.min, s.max);
}

bool ReadBoolean(const SettingsStore& store, Setting key) {
    const SettingDefinition& s = Definition(key);
    const bool fallback = TextToBool(s.defaultText, false);
    return TextToBool(store.Read(s.section, s.key, s.defaultText), fallback);
}

float ReadSingle(const SettingsStore& store, Setting key, float fallback) {
    const SettingDefinition& s = Definition(key);
    if (!s.computed)
        fallback = TextToSingle(s.defaultText, fallback);
    const float value =
        TextToSingle(store.Read(s.section, s.key, SingleToText(fallback)), fallback);
    if (s.min < s.max && (value < float(s.min) || value > float(s.max)))
        return fallback;
    return value;
}

QString ReadText(const SettingsStore& store, Setting key, const QString& fallback) {
    const SettingDefinition& s = Definition(key);
    const QString defaultText = s.computed ? fallback : s.defaultText;
    const QString text = store.Read(s.section, s.key, defaultText);
    if (s.kind == SettingKind::Ramp && !IsUsableRamp(text))
        return defaultText;
    return text;
}

quint32 ReadColour(const SettingsStore& store, Setting key) {
    const SettingDefinition& s = Definition(key);
    const qint64 fallback = s.defaultText.toLongLong();
    const qint64 value =
        TextToInteger(store.Read(s.section, s.key, s.defaultText), fallback,
                      std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    const auto colour = quint32(qint32(value));
    return IsValidColourValue(colour) ? colour : quint32(qint32(fallback));
}

void WriteInteger(SettingsStore& store, Setting key, qint64 value) {
    WriteText(store, key, QString::number(value));
}

void WriteBoolean(SettingsStore& store, Setting key, bool value) {
    WriteText(store, key, BoolToText(value));
}

void WriteSingle(SettingsStore& store, Setting key, float value) {
    WriteText(store, key, SingleToText(value));
}

void WriteText(SettingsStore& store, Setting key, const QString& text) {
    const SettingDefinition& s = Definition(key);
    store.Write(s.section, s.key, text);
}

void WriteColour(SettingsStore& store, Setting key, quint32 colour) {
    // A system colour number is stored as the negative number its 32 bits make.
    WriteText(store, key, QString::number(qint32(colour)));
}

void DeleteSetting(SettingsStore& store, Setting key) {
    const SettingDefinition& s = Definition(key);
    store.Delete(s.section, s.key);
}

} // namespace platform
