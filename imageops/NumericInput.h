// The numeric reading of the dialogs' text boxes: a whole conversion that accepts only a
// number (blanks around it, an optional sign, digits, an optional fraction rounded half
// to even) within 16 or 32 bits, and a leading-number value that reads as much of a
// number as the text starts with.
#pragma once

#include <QString>
#include <optional>

namespace mGlyfora {

// The leading number of the text (blanks before it skipped); 0 when it starts with none.
double Val(const QString& text);

// The whole text as a number rounded half to even; nullopt when the text is no number or
// the result does not fit.
std::optional<qint16> CInt(const QString& text);
std::optional<qint32> CLng(const QString& text);

// A computed value rounded half to even; nullopt when it does not fit (or is not finite).
std::optional<qint16> RoundToInt16(double value);
std::optional<qint32> RoundToInt32(double value);

} // namespace mGlyfora
