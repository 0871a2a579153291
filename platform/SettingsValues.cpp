// Setting text conversions.
#include "platform/SettingsValues.h"

#include "platform/Rounding.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {

namespace {
bool ParseNumber(const QString& text, double& out) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}
} // namespace

bool TextToBool(const QString& text, bool fallback) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    double v;
    return ParseNumber(t, v) ? v != 0.0 : fallback;
}

std::int64_t TextToInteger(const QString& text, std::int64_t fallback, std::int64_t min,
                           std::int64_t max) {
    double v;
    if (!ParseNumber(text, v) || v < double(min) - 0.5 || v > double(max) + 0.5)
        return fallback;
    const std::int64_t r = RoundHalfEven(v);
    return (r < min || r > max) ? fallback : r;
}

float TextToSingle(const QString& text, float fallback) {
    double v;
    if (!ParseNumber(text, v) || std::fabs(v) > std::numeric_limits<float>::max())
        return fallback;
    return static_cast<float>(v);
}

QString BoolToText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString SingleToText(float value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

} // namespace platform
