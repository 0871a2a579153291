// What the conversion window keeps between runs (groups "Text\Window", "Text\Font",
// "Text\Color"): reading with fallbacks for unusable stored texts, and writing in the
// stored text forms. No widgets here; the window applies the values.
#pragma once

#include "platform/Colour.h"
#include "platform/FontRecord.h"
#include "platform/StoredGeometry.h"

#include <QString>

namespace platform {
class SettingsStore;
}

namespace mGlyfora {

struct TextWindowSettings {
    platform::StoredGeometry Geometry;
    platform::FontRecord Font;
    Colour BackColor = 0; // a plain colour or a system colour number
    Colour ForeColor = 0;
};

TextWindowSettings LoadTextWindowSettings(const platform::SettingsStore& store);

// Writes the three groups; a geometry key without a value keeps what was stored before.
void SaveTextWindowSettings(platform::SettingsStore& store, const TextWindowSettings& settings);

// A point size as stored: at most four decimals, no trailing zeros ("9", "3.75").
QString FontSizeText(float size);

} // namespace mGlyfora
