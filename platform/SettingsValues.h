// Conversion between stored setting texts and typed values. Texts that cannot be
// converted, or whose value is outside the allowed range, give the fallback.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// "True"/"False" in any letter case, or a number (non-zero is true).
bool TextToBool(const QString& text, bool fallback);

// A decimal number rounded half to even, accepted when within [min, max].
std::int64_t TextToInteger(const QString& text, std::int64_t fallback, std::int64_t min,
                           std::int64_t max);

// A finite single-precision number.
float TextToSingle(const QString& text, float fallback);

QString BoolToText(bool value);
// Shortest plain decimal text that reads back as the same single-precision value.
QString SingleToText(float value);

} // namespace platform
