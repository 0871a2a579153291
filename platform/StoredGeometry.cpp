// Reading and writing a window's stored geometry.
#include "platform/StoredGeometry.h"

#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "platform/SettingsValues.h"

#include <cmath>
#include <limits>

namespace platform {

namespace {
std::optional<float> ReadEdge(const SettingsStore& store, const QString& section, const char* key,
                              bool extent) {
    // The fallback marks "not stored", so that the window's own default is known to be one.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float value =
        platform::ReadSingle(store, platform::Setting(section, QLatin1String(key)), nan);
    if (std::isnan(value) || (extent && value <= 0))
        return std::nullopt;
    return value;
}
} // namespace

StoredGeometry ReadStoredGeometry(const SettingsStore& store, const QString& section) {
    StoredGeometry g;
    g.Left = ReadEdge(store, section, "Left", false);
    g.Top = ReadEdge(store, section, "Top", false);
    g.Height = ReadEdge(store, section, "Height", true);
    g.Width = ReadEdge(store, section, "Width", true);
    return g;
}

void WriteStoredGeometry(SettingsStore& store, const QString& section,
                         const StoredGeometry& geometry) {
    const auto write = [&](const char* key, const std::optional<float>& value) {
        if (value)
            store.Write(section, QLatin1String(key), SingleToText(*value));
    };
    write("Left", geometry.Left);
    write("Top", geometry.Top);
    write("Height", geometry.Height);
    write("Width", geometry.Width);
}

} // namespace platform
