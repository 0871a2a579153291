// Reading numbers typed or pasted into the dialogs' text boxes.
#include "imageops/NumericInput.h"

#include "platform/Rounding.h"

#include <cmath>
#include <limits>

namespace mGlyfora {

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Reads sign, digits and fraction from `at`; the end of what was read, or `at` itself
// when no digit was found.
qsizetype ReadNumber(const QString& text, qsizetype at, double& value) {
    qsizetype i = at;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    QString digits;
    bool any = false;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        digits += text[i++];
        any = true;
    }
    if (i < text.size() && text[i] == u'.') {
        qsizetype j = i + 1;
        QString fraction;
        while (j < text.size() && text[j] >= u'0' && text[j] <= u'9')
            fraction += text[j++];
        if (any || !fraction.isEmpty()) {
            digits += u'.' + fraction;
            any = true;
            i = j;
        }
    }
    if (!any)
        return at;
    value = digits.toDouble();
    if (negative)
        value = -value;
    return i;
}

std::optional<double> WholeNumber(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    double value = 0;
    qsizetype end = ReadNumber(text, start, value);
    if (end == start)
        return std::nullopt;
    while (end < text.size() && IsBlank(text[end]))
        ++end;
    if (end != text.size())
        return std::nullopt;
    return value;
}

} // namespace

double Val(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    double value = 0;
    return ReadNumber(text, start, value) == start ? 0.0 : value;
}

std::optional<qint16> CInt(const QString& text) {
    const std::optional<double> value = WholeNumber(text);
    return value ? platform::RoundedWithin<qint16>(*value) : std::nullopt;
}

std::optional<qint32> CLng(const QString& text) {
    const std::optional<double> value = WholeNumber(text);
    return value ? platform::RoundedWithin<qint32>(*value) : std::nullopt;
}

std::optional<qint16> RoundToInt16(double value) {
    return platform::RoundedWithin<qint16>(value);
}

std::optional<qint32> RoundToInt32(double value) {
    return platform::RoundedWithin<qint32>(value);
}

} // namespace mGlyfora
