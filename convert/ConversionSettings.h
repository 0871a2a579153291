// The process-wide conversion parameters: cell size, ramp direction, the character
// ramp, the finish of text results and the four HTML templates, and their place in the settings
// store.
#pragma once

#include "platform/SettingsTable.h"

#include <QString>
#include <QtGlobal>

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

inline ConversionSettingsRecord ConversionSettings;

// The "Conversion" and "HTML" groups, read and written in the record's order.
void LoadConversionSettings(const platform::SettingsStore& store);
void SaveConversionSettings(platform::SettingsStore& store);

} // namespace mGlyfora
