// A window's outer geometry as the settings keep it: "Left", "Top", "Height" and "Width" in
// twips (screen coordinates) under the window's section, read and written in that order.
#pragma once

#include "platform/SettingsTable.h"

#include <optional>

namespace platform {

class SettingsStore;

struct StoredGeometry {
    // No value where the key is absent or its text is unusable (not a finite number; an
    // extent not above 0): the window then uses its default for that edge or extent.
    std::optional<float> Left;
    std::optional<float> Top;
    std::optional<float> Height;
    std::optional<float> Width;
};

// A window's four keys in the settings table.
struct GeometryKeys {
    Setting Left;
    Setting Top;
    Setting Height;
    Setting Width;
};

StoredGeometry ReadStoredGeometry(const SettingsStore& store, const GeometryKeys& keys);
// Writes the values present; a key without a value keeps what was stored before.
void WriteStoredGeometry(SettingsStore& store, const GeometryKeys& keys,
                         const StoredGeometry& geometry);

} // namespace platform
