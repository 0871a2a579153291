// Rounding to the nearest whole number with halves to even, used wherever a
// floating-point size, coordinate or count becomes a whole number.
#pragma once

#include <cfenv>
#include <cmath>
#include <cstdint>

namespace platform {

// std::nearbyint rounds halves to even under the default rounding mode.
inline std::int64_t RoundHalfEven(double value) {
    return static_cast<std::int64_t>(std::nearbyint(value));
}

} // namespace platform
