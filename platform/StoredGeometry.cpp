// Reading and writing a window's stored geometry.
#include "platform/StoredGeometry.h"

#include <cmath>
#include <limits>

namespace platform {

namespace {
std::optional<float> ReadEdge(const SettingsStore& store, Setting key, bool extent) {
    // The fallback marks "not stored", so that the window's own default is known to be one.
    const float value = ReadSingle(store, key, std::numeric_limits<float>::quiet_NaN());
    if (std::isnan(value) || (extent && value <= 0))
        return std::nullopt;
    return value;
}
} // namespace

StoredGeometry ReadStoredGeometry(const SettingsStore& store, const GeometryKeys& keys) {
    StoredGeometry g;
    g.Left = ReadEdge(store, keys.Left, false);
    g.Top = ReadEdge(store, keys.Top, false);
    g.Height = ReadEdge(store, keys.Height, true);
    g.Width = ReadEdge(store, keys.Width, true);
    return g;
}

void WriteStoredGeometry(SettingsStore& store, const GeometryKeys& keys,
                         const StoredGeometry& geometry) {
    const auto write = [&](Setting key, const std::optional<float>& value) {
        if (value)
            WriteSingle(store, key, *value);
    };
    write(keys.Left, geometry.Left);
    write(keys.Top, geometry.Top);
    write(keys.Height, geometry.Height);
    write(keys.Width, geometry.Width);
}

} // namespace platform
