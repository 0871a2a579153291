// Rounding to the nearest whole number with halves to even, used wherever a
// floating-point size, coordinate or count becomes a whole number. The value is held
// within the target type's range (or a narrower one) before it is converted: a float
// outside an integer's range has no defined conversion.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>

namespace platform {

// std::nearbyint rounds halves to even under the default rounding mode. The result is
// held within [min, max]; NaN counts as 0 (then held).
template <std::integral Int = std::int64_t>
Int RoundHalfEven(double value, Int min = std::numeric_limits<Int>::min(),
                  Int max = std::numeric_limits<Int>::max()) {
    const double rounded = std::isnan(value) ? 0.0 : std::nearbyint(value);
    // double(max) may round up past max (2^63 for 64 bits): at or beyond it is max.
    if (rounded >= double(max))
        return max;
    if (rounded <= double(min))
        return min;
    return static_cast<Int>(rounded);
}

// Rounded as above when the result fits Int; nothing for NaN, infinities and values
// beyond Int's range (where a conversion should fail rather than saturate).
template <std::integral Int> std::optional<Int> RoundedWithin(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    // The upper limit compared as max + 1, which a double holds exactly.
    if (rounded < double(std::numeric_limits<Int>::min()) ||
        rounded >= double(std::numeric_limits<Int>::max()) + 1.0)
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace platform
