// A font record and QFont, one to the other.
#include "platform/FontRecord.h"

namespace platform {

QFont FontRecord::ToQFont() const {
    QFont font(Name);
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setStrikeOut(Strikethrough);
    font.setUnderline(Underline);
    if (Size > 0)
        font.setPointSizeF(Size);
    return font;
}

FontRecord FontRecord::From(const QFont& font) {
    return {font.family(), float(font.pointSizeF()), font.bold(),
            font.italic(), font.underline(),         font.strikeOut()};
}

} // namespace platform
