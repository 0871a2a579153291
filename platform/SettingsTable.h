// Every key the program keeps in its settings store, with its text form, its default
// and its allowed range, and the typed reads that fall back to the default when a
// stored text cannot be used.
#pragma once

#include <QString>
#include <vector>

namespace platform {

class SettingsStore;

// The largest cell width and height in pixels ("X", "Y"); the smallest is 1.
inline constexpr int MaxCellSize = 10;

// The recent-files menu: "Max" entries shown, from 0 to RecentFilesLimit (keys File1 to
// File20), RecentFilesDefault when nothing is stored.
inline constexpr int RecentFilesLimit = 20;
inline constexpr int RecentFilesDefault = 4;

// The longest character ramp, in characters (code points).
inline constexpr int MaxRampCharacters = 64;

// A ramp the scans can use: 1 to MaxRampCharacters code points and no control or
// separator character (ControlCharacters.h), which would break the result's lines.
bool IsUsableRamp(const QString& ramp);

// Every key of the store, named once. Reads and writes take one of these, never a section
// and a key in text; each has one row of the table (its stored section and key in the
// comment), and the table stops the program at first use when a row is missing or out of
// order.
enum class Setting {
    ConversionX,         // Conversion/X
    ConversionY,         // Conversion/Y
    ConversionReverse,   // Conversion/Reverse
    ConversionCharactor, // Conversion/Charactor (spelled so)
    ConversionStyle,     // Conversion/Style
    ConversionLuminance, // Conversion/Luminance
    ConversionDither,    // Conversion/Dither
    HtmlBefore,          // HTML/Before
    HtmlAfter,           // HTML/After
    HtmlBeforeHtml,      // HTML/BeforeHTML
    HtmlAfterHtml,       // HTML/AfterHTML
    OpenDirectory,       // Open/Directory
    SaveDirectory,       // Save/Directory
    RecentFilesMax,      // Recent Files/Max
    WindowLeft,          // Window/Left, and so on: the main window
    WindowTop,
    WindowHeight,
    WindowWidth,
    WindowToolBar,
    WindowStatusBar,
    // Recent Files/File1 to File20, one after another: RecentFile(index) names each.
    RecentFile1,
    RecentFileLast = RecentFile1 + RecentFilesLimit - 1,
    TextWindowLeft, // Text\Window/Left, and so on: the conversion window
    TextWindowTop,
    TextWindowHeight,
    TextWindowWidth,
    TextFontName, // Text\Font/Name, and so on
    TextFontBold,
    TextFontItalic, // Text\Font/Itaric (spelled so)
    TextFontStrikethrough,
    TextFontUnderline,
    TextFontSize,
    TextBackColor, // Text\Color/BackColor
    TextForeColor, // Text\Color/ForeColor
};
inline constexpr int SettingCount = int(Setting::TextForeColor) + 1;

// The recent-files entry at `index`, 0 for File1; the index must be below RecentFilesLimit.
Setting RecentFile(int index);

enum class SettingKind {
    Integer, // decimal whole number within [min, max]
    Single,  // finite single-precision decimal
    Boolean, // "True" / "False" (numbers accepted, non-zero true)
    Text,    // any text
    Ramp,    // a usable ramp (IsUsableRamp)
    Colour,  // signed 32-bit decimal: an RGB colour or a known system colour number
};

struct SettingDefinition {
    Setting id;
    QString section;
    QString key;
    SettingKind kind;
    // Default as stored text; empty with computed = true where the default depends on the
    // screen or the program's folder and is supplied by the reader.
    QString defaultText;
    qint64 min = 0;
    qint64 max = 0;
    bool computed = false;
};

// The whole table, one row for each Setting in its order, which is the order in which the
// groups are read.
const std::vector<SettingDefinition>& SettingsTable();
const SettingDefinition& Definition(Setting setting);

// The table's default text of a key that has a fixed default.
QString SettingDefault(Setting setting);

// Typed reads. A computed default is passed as `fallback`; otherwise the table's default
// is used whenever the stored text cannot be converted or is out of range. ReadText reads
// any key's stored text as it is.
qint64 ReadInteger(const SettingsStore& store, Setting setting);
bool ReadBoolean(const SettingsStore& store, Setting setting);
float ReadSingle(const SettingsStore& store, Setting setting, float fallback);
QString ReadText(const SettingsStore& store, Setting setting, const QString& fallback = QString());
quint32 ReadColour(const SettingsStore& store, Setting setting);

// Typed writes, each in the text its read takes back. WriteText stores a text as it is:
// a Text or Ramp key's value, or a text the caller forms itself.
void WriteInteger(SettingsStore& store, Setting setting, qint64 value);
void WriteBoolean(SettingsStore& store, Setting setting, bool value);
void WriteSingle(SettingsStore& store, Setting setting, float value);
void WriteText(SettingsStore& store, Setting setting, const QString& text);
void WriteColour(SettingsStore& store, Setting setting, quint32 colour);
// Removing an absent key is not an error.
void DeleteSetting(SettingsStore& store, Setting setting);

} // namespace platform
