// The process-wide conversion parameters: cell size, ramp direction, the character
// ramp, the finish of text results and the four HTML templates, and their place in the settings
// store; with the conversion's other process-wide values, held together.
#pragma once

#include "convert/CharacterTable.h"
#include "platform/SettingsTable.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace platform {
class SettingsStore;
}

namespace mGlyfora {

struct ConversionSettingsRecord {
    quint8 X = 1; // cell width in pixels, 1 to 10
    quint8 Y = 1; // cell height in pixels, 1 to 10
    bool Reverse = false;
    // Brightest first; key spelled so. Defaults come from the settings table.
    QString Charactor = platform::SettingDefault(platform::Setting::ConversionCharactor);
    // The finish: the style of text results, the exact scan's brightness, tone's diffusion.
    quint8 Style = 0; // 0 exact, 1 tone, 2 shape
    bool Luminance = false;
    bool Dither = true;
    QString Before = platform::SettingDefault(platform::Setting::HtmlBefore);
    QString After = platform::SettingDefault(platform::Setting::HtmlAfter);
    QString BeforeHTML = platform::SettingDefault(platform::Setting::HtmlBeforeHtml);
    QString AfterHTML = platform::SettingDefault(platform::Setting::HtmlAfterHtml);

    bool operator==(const ConversionSettingsRecord&) const = default;
};

// The conversion's process-wide values, held together so that a fresh start (the tests'
// reset) is one assignment.
struct ConvertValues {
    ConversionSettingsRecord Settings;
    // Filled by FillCharacterTable for PickCharacter; a scan builds its own table.
    // Entries 0..n-1 hold the ramp's characters (one code point each); later entries keep
    // whatever a longer ramp left there.
    std::array<QString, CharacterTableSize> CharacterTable;
    // The progress dialog's cancel: cleared when a dialog is made for a run, set when the
    // person asks to stop, and read by the scan through the dialog (its host). Only the
    // user-interface thread touches it; one dialog exists at a time.
    bool CancelConversion = false;
    // The program's intermediate file, set by each scan through it; deleted at shutdown.
    QString TempFileName;
};
inline ConvertValues ProcessConvert;

inline ConversionSettingsRecord& ConversionSettings = ProcessConvert.Settings;
inline std::array<QString, CharacterTableSize>& CharacterTable = ProcessConvert.CharacterTable;
inline bool& CancelConversion = ProcessConvert.CancelConversion;
inline QString& TempFileName = ProcessConvert.TempFileName;

// The "Conversion" and "HTML" groups, read and written in the record's order.
void LoadConversionSettings(const platform::SettingsStore& store);
void SaveConversionSettings(platform::SettingsStore& store);

} // namespace mGlyfora
