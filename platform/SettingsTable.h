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

enum class SettingKind {
    Integer, // decimal whole number within [min, max]
    Single,  // finite single-precision decimal
    Boolean, // "True" / "False" (numbers accepted, non-zero true)
    Text,    // any text
    Ramp,    // a usable ramp (IsUsableRamp)
    Colour,  // signed 32-bit decimal: an RGB colour or a known system colour number
};

struct SettingDefinition {
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

// The whole table, in the order in which the groups are read.
const std::vector<SettingDefinition>& SettingsTable();
// The definition of one key; the key must be in the table.
const SettingDefinition& Setting(const QString& section, const QString& key);

// The table's default text of a key that has a fixed default.
QString SettingDefault(const QString& section, const QString& key);

// Typed reads. A computed default is passed as `fallback`; otherwise the table's default
// is used whenever the stored text cannot be converted or is out of range.
qint64 ReadInteger(const SettingsStore& store, const SettingDefinition& setting);
bool ReadBoolean(const SettingsStore& store, const SettingDefinition& setting);
float ReadSingle(const SettingsStore& store, const SettingDefinition& setting, float fallback);
QString ReadText(const SettingsStore& store, const SettingDefinition& setting,
                 const QString& fallback = QString());
quint32 ReadColour(const SettingsStore& store, const SettingDefinition& setting);

void WriteSetting(SettingsStore& store, const SettingDefinition& setting, const QString& text);

} // namespace platform
